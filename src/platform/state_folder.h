#pragma once
// The album's own folder for what outlives a session.

#include <QString>

namespace leafsong {

// $XDG_STATE_HOME/leafsong/ ($HOME/.local/state/leafsong/ when XDG_STATE_HOME is unset or
// relative), ending in "/"; empty when HOME is not set either. Nothing is made.
QString StateFolder();

}  // namespace leafsong
