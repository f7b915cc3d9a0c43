#include "music/media_player.h"

#include "platform/log.h"

namespace leafsong {

bool SilentPlayer::OpenMedia(const QString& path, int /*parentWindow*/) {
    qCDebug(lcMedia) << "no music backend; not opening" << path;
    current_.clear();
    return false;
}

bool SilentPlayer::CloseMedia() {
    const bool wasOpen = !current_.isEmpty();
    current_.clear();
    return wasOpen;
}

}  // namespace leafsong
