#pragma once
// The one sound library the media command interpreter plays through, behind an interface so that
// tests can script it.

#include <QString>
#include <functional>
#include <utility>

namespace leafsong {

class AudioBackend {
public:
    virtual ~AudioBackend() = default;

    // Loads the file for playing; false when it cannot be loaded at all. Whether its content
    // plays is only learnt once it is played.
    virtual bool Open(const QString& path) = 0;
    // Starts the loaded file from its current position; false when nothing is loaded.
    virtual bool Play() = 0;
    // Stops and unloads the file; no end notice follows for it.
    virtual void Stop() = 0;
    // True from an accepted Play (loading included) until the stream ends or fails.
    virtual bool IsPlaying() const = 0;

    // Called once when a playing stream ends or fails (on this thread; it may come before Play
    // returns when the stream fails at once).
    void SetEndNotice(std::function<void()> notice) { endNotice_ = std::move(notice); }

protected:
    void NotifyEnd() const {
        if (endNotice_) {
            endNotice_();
        }
    }

private:
    std::function<void()> endNotice_;
};

}  // namespace leafsong
