#pragma once
// Turns SIGTERM, SIGINT and SIGHUP into a call on the event loop (never from inside the signal
// handler itself), so the album can end in order.

#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace leafsong {

class SignalPipe {
public:
    // Installs the handlers; onSignal runs on the event loop with the signal's number.
    explicit SignalPipe(std::function<void(int)> onSignal);
    ~SignalPipe();
    SignalPipe(const SignalPipe&) = delete;
    SignalPipe& operator=(const SignalPipe&) = delete;

private:
    std::function<void(int)> onSignal_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace leafsong
