#pragma once
// A pause on the event loop: the callback runs when the time is up, and everything else (input,
// paint, timers, menus, drops) is handled meanwhile, at no cost while nothing happens.

#include <QTimer>
#include <functional>

namespace leafsong {

class Pause {
public:
    Pause();
    // Starts (or restarts) the pause; done runs once when ms have passed.
    void Start(int ms, std::function<void()> done);
    // Cancels a running pause; done does not run.
    void Stop();
    bool active() const { return timer_.isActive(); }

private:
    QTimer timer_;
    std::function<void()> done_;
};

}  // namespace leafsong
