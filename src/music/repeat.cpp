#include "music/repeat.h"

#include <QTimer>

#include "common/path_utils.h"
#include "music/media_player.h"
#include "platform/media_commands.h"

namespace leafsong {

Repeat::Repeat(MediaPlayer& player, const QString& backGroundMusic, Now now)
    : player_(player), music_(backGroundMusic), now_(std::move(now)) {
    if (!now_) {
        clock_.start();
        now_ = [this] { return clock_.elapsed(); };
    }
}

void Repeat::tmrRepeat_Timer() {
    if (player_.IsPlaying()) {
        return;
    }
    if (!FileExists(music_)) {
        return;
    }
    const qint64 now = now_();
    if (lastStart_ && now - *lastStart_ < kRetryMs) {
        return;
    }
    lastStart_ = now;
    player_.OpenMedia(music_, 0);
    player_.PlayMedia();
}

void ConnectRepeat(Repeat& repeat, QTimer& tmrRepeat, MediaCommands& mci) {
    QObject::connect(&tmrRepeat, &QTimer::timeout, &tmrRepeat,
                     [&repeat] { repeat.tmrRepeat_Timer(); });
    mci.SetEndNotice([&repeat, &tmrRepeat] {
        if (tmrRepeat.isActive()) {
            repeat.tmrRepeat_Timer();
        }
    });
}

}  // namespace leafsong
