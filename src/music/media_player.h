#pragma once
// The background music player: one file open at a time.

#include <QString>

namespace leafsong {

class MediaCommandSink;
class ShortNames;

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
    // The path the open file was opened with (its long form); empty while nothing is open.
    virtual QString CurrentMedia() const = 0;
};

// The media device type for a file, from its upper-cased extension: "Sequencer", "Waveaudio",
// "AVIVideo", "CDAudio", "RealPlayer" (never opened), and "MPEGVideo" for anything else.
QString GetDeviceType(const QString& path);

// The player over media command strings, with the one device always under the alias NOWMEDIA.
// Every command goes to mci; files are named by their short forms from names.
class CommandPlayer final : public MediaPlayer {
public:
    CommandPlayer(MediaCommandSink& mci, ShortNames& names);

    // Refuses RealMedia files after the close, sending nothing more; sends the time format after
    // every open attempt, whether it succeeded or not.
    bool OpenMedia(const QString& path, int parentWindow = 0) override;
    bool PlayMedia() override;
    bool CloseMedia() override;
    // True when the mode reply starts with "playing" (or the Chinese word for it).
    bool IsPlaying() override;
    QString CurrentMedia() const override { return current_; }

private:
    MediaCommandSink& mci_;
    ShortNames& names_;
    QString current_;
};

}  // namespace leafsong
