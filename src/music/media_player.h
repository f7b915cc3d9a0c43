#pragma once
// The background music player: one file open at a time.

#include <QString>

namespace leafsong {

class MediaPlayer {
public:
    virtual ~MediaPlayer() = default;
    // Closes what was open and opens path; true when it opened.
    virtual bool OpenMedia(const QString& path, int parentWindow = 0) = 0;
    // Starts the open file from its current position; true when accepted.
    virtual bool PlayMedia() = 0;
    // Closes the open file; true when something was closed.
    virtual bool CloseMedia() = 0;
    // True while the open file plays.
    virtual bool IsPlaying() = 0;
};

// A player that plays nothing, for runs without music.
class SilentPlayer final : public MediaPlayer {
public:
    bool OpenMedia(const QString& path, int parentWindow = 0) override;
    bool PlayMedia() override { return false; }
    bool CloseMedia() override;
    bool IsPlaying() override { return false; }
    const QString& current() const { return current_; }

private:
    QString current_;
};

}  // namespace leafsong
