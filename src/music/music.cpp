#include "music/music.h"

#include "common/path_utils.h"

namespace leafsong {

namespace {
// How often the repeat looks whether the music has ended.
constexpr int kRepeatPeriodMs = 50;
}  // namespace

Music::Music(MediaPlayer& player, AlbumState& state, Now now)
    : player_(player), state_(state), now_(std::move(now)) {
    if (!now_) {
        clock_.start();
        now_ = [this] { return clock_.elapsed(); };
    }
    tmrRepeat_.setInterval(kRepeatPeriodMs);
    QObject::connect(&tmrRepeat_, &QTimer::timeout, &tmrRepeat_, [this] { tmrRepeat_Timer(); });
}

void Music::Start(const QString& path) {
    if (closed_) {
        return;
    }
    player_.OpenMedia(path);
    player_.PlayMedia();
}

void Music::Play(const QString& path) {
    if (closed_) {
        return;
    }
    state_.BackGroundMusic = path;
    if (FileExists(path)) {
        Start(path);
    }
}

void Music::FollowRepeat(bool on) {
    if (on && !closed_) {
        tmrRepeat_.start();
    } else {
        tmrRepeat_.stop();
    }
}

void Music::tmrRepeat_Timer() {
    // A look that comes after the end (an end notice or a tick already on its way) opens nothing.
    if (closed_ || player_.IsPlaying() || !FileExists(state_.BackGroundMusic)) {
        return;
    }
    const qint64 now = now_();
    if (lastStart_ && now - *lastStart_ < kRetryMs) {
        return;
    }
    lastStart_ = now;
    Start(state_.BackGroundMusic);
}

void Music::OnTuneEnded() {
    if (tmrRepeat_.isActive()) {
        tmrRepeat_Timer();
    }
}

void Music::Close() {
    closed_ = true;
    tmrRepeat_.stop();
    player_.CloseMedia();
}

}  // namespace leafsong
