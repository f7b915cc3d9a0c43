#pragma once
// A scripted sound library: plays nothing and ends a tune when told.

#include <QString>
#include <QStringList>
#include <utility>

#include "platform/audio_backend.h"
#include "platform/media_commands.h"

namespace leafsong::test {

class FakeAudioBackend final : public AudioBackend {
public:
    bool Open(const QString& path) override {
        opened << path;
        if (!refuseOpen) loaded = path;
        return !refuseOpen;
    }
    bool Play() override {
        if (loaded.isEmpty() || refusePlay) return false;
        ++plays;
        return playing = true;
    }
    void Stop() override { playing = false, loaded.clear(); }
    bool IsPlaying() const override { return playing; }
    void End() {
        if (std::exchange(playing, false)) NotifyEnd();
    }
    QStringList opened;
    QString loaded;
    bool playing = false, refuseOpen = false, refusePlay = false;
    int plays = 0;
};

// Passes commands on and keeps them in order.
struct RecordingSink final : MediaCommandSink {
    explicit RecordingSink(MediaCommandSink& inner) : next(inner) {}
    int Send(const QString& command, QString* reply) override {
        sent << command;
        return next.Send(command, reply);
    }
    MediaCommandSink& next;
    QStringList sent;
};

}  // namespace leafsong::test
