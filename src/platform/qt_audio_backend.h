#pragma once
// The real sound library: Qt Multimedia (its GStreamer backend, see audio_environment.h).

#include <memory>

#include "platform/audio_backend.h"

class QAudioOutput;
class QMediaPlayer;

namespace leafsong {

class QtAudioBackend final : public AudioBackend {
public:
    QtAudioBackend();
    ~QtAudioBackend() override;
    QtAudioBackend(const QtAudioBackend&) = delete;
    QtAudioBackend& operator=(const QtAudioBackend&) = delete;

    // Each file gets a player of its own, so nothing of a failed stream carries over.
    bool Open(const QString& path) override;
    bool Play() override;
    void Stop() override;
    bool IsPlaying() const override { return playing_; }

private:
    void End(const QString& why);
    void Fail(const QString& why);

    std::unique_ptr<QAudioOutput> output_;
    std::unique_ptr<QMediaPlayer> player_;
    bool playing_ = false;
    bool failed_ = false;  // the stream failed before it was played
};

}  // namespace leafsong
