#pragma once
// Our own interpreter of media command strings: one device at a time, known by its alias, played
// through an AudioBackend. It understands what the album's player sends:
//   open <file> type <Sequencer|Waveaudio|MPEGVideo|AVIVideo|CDAudio> alias <name>
//        [style overlapped|popup|child]   (style only for the video types)
//   set <name> time format milliseconds
//   play <name>
//   close <name>
//   status <name> mode                    (reply "playing" or "stopped")
// Words are separated by blanks and compared without regard to case; a file name may be quoted,
// and an unquoted one may hold blanks.

#include <QObject>
#include <QString>
#include <functional>

#include "platform/audio_backend.h"

namespace leafsong {

// Non-zero answers of Send.
enum class MediaError : int {
    None = 0,
    UnknownCommand = 1,  // the first word names no command
    BadSyntax = 2,       // a word missing, repeated or out of place
    UnknownAlias = 3,    // no device is open under that name
    AliasInUse = 4,      // a device is open already
    FileNotFound = 5,
    UnknownType = 6,  // a device type we do not play
    CannotOpen = 7,
    CannotPlay = 8,
    Unsupported = 9,  // a known command with an item or option we do not carry out
};

// Anything that takes media command strings.
class MediaCommandSink {
public:
    virtual ~MediaCommandSink() = default;
    // Carries out one command: 0 on success, else a MediaError code. reply (may be null) gets
    // the answer text, empty when there is none or the command failed.
    virtual int Send(const QString& command, QString* reply) = 0;
};

class MediaCommands final : public MediaCommandSink {
public:
    explicit MediaCommands(AudioBackend& backend);
    ~MediaCommands() override;
    MediaCommands(const MediaCommands&) = delete;
    MediaCommands& operator=(const MediaCommands&) = delete;

    // Logs the command and its answer to leafsong.media at debug level, one line each.
    int Send(const QString& command, QString* reply) override;

    // Called from the event loop (never inside Send) when the open device's tune has ended or
    // failed, so a repeat can start the next one at once instead of waiting for its timer.
    void SetEndNotice(std::function<void()> notice) { endNotice_ = std::move(notice); }

    // The alias of the open device; empty when none is open.
    const QString& openAlias() const { return alias_; }

private:
    MediaError Run(const QString& command, QString& reply);
    void CloseDevice();
    void OnBackendEnd();

    AudioBackend& backend_;
    QString alias_;
    std::function<void()> endNotice_;
    quint64 generation_ = 0;  // tells a late end notice from the device open now
    QObject context_;         // queued notices die with the interpreter
};

}  // namespace leafsong
