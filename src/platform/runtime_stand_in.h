#pragma once
// Without a usable XDG_RUNTIME_DIR, Qt makes ${TMPDIR:-/tmp}/runtime-<user> and says so on stderr
// while the application object is made (it looks there for a sandbox marker), and the sound
// server's client library makes ~/.config/pulse and ${TMPDIR:-/tmp}/pulse-* whenever Qt
// Multimedia lists the sound devices. Both are lent the album's own state folder instead (Qt, when
// there is none, a fresh private folder of its own for the moment).

#include <QByteArray>
#include <optional>

#include "platform/temp_dir.h"

namespace leafsong {

class RuntimeDirStandIn {
public:
    // When XDG_RUNTIME_DIR is unset, or is not a folder of this user's with mode 0700, points it
    // at the state folder (without one, a fresh private folder) until this object ends. Where it
    // is unset and no sound output exists, the sound client's runtime path goes to the state
    // folder too, for the whole run. Call it after the audio environment was prepared and before
    // the application object is made.
    RuntimeDirStandIn();
    // Gives XDG_RUNTIME_DIR its own value back: child processes and the album's folder choice
    // must see the session as it is.
    ~RuntimeDirStandIn();
    RuntimeDirStandIn(const RuntimeDirStandIn&) = delete;
    RuntimeDirStandIn& operator=(const RuntimeDirStandIn&) = delete;

private:
    std::optional<QByteArray> saved_;  // the value replaced (empty: unset); none when untouched
    std::optional<TempDir> fresh_;     // lent when the state folder cannot be had
};

}  // namespace leafsong
