#pragma once
// A sound library that tests script: it plays nothing and ends a tune when told.

#include <QString>
#include <QStringList>

#include "platform/audio_backend.h"
#include "platform/media_commands.h"

namespace leafsong::test {

class FakeAudioBackend final : public AudioBackend {
public:
    bool Open(const QString& path) override {
        opened << path;
        if (refuseOpen) {
            return false;
        }
        loaded = path;
        return true;
    }
    bool Play() override {
        if (loaded.isEmpty() || refusePlay) {
            return false;
        }
        playing = true;
        ++plays;
        return true;
    }
    void Stop() override {
        playing = false;
        loaded.clear();
        ++stops;
    }
    bool IsPlaying() const override { return playing; }

    // The tune playing now ends (or fails), as the library would report it.
    void End() {
        if (playing) {
            playing = false;
            NotifyEnd();
        }
    }

    QStringList opened;  // every path Open was given
    QString loaded;
    bool playing = false;
    bool refuseOpen = false;
    bool refusePlay = false;
    int plays = 0;
    int stops = 0;
};

// Passes commands on and keeps them, in order.
class RecordingSink final : public MediaCommandSink {
public:
    explicit RecordingSink(MediaCommandSink& next) : next_(next) {}
    int Send(const QString& command, QString* reply) override {
        sent << command;
        return next_.Send(command, reply);
    }
    QStringList sent;

private:
    MediaCommandSink& next_;
};

}  // namespace leafsong::test
