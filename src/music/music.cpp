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
    player_.OpenMedia(path);
    player_.PlayMedia();
}

void Music::Play(const QString& path) {
    state_.BackGroundMusic = path;
    if (FileExists(path)) {
        Start(path);
    }
}

void Music::FollowRepeat(bool on) {
    if (on) {
        tmrRepeat_.start();
    } else {
        tmrRepeat_.stop();
    }
}

void Music::tmrRepeat_Timer() {
    if (player_.IsPlaying() || !FileExists(state_.BackGroundMusic)) {
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
    tmrRepeat_.stop();
    player_.CloseMedia();
}

}  // namespace leafsong
