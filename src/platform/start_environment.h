#pragma once
// The environment the user started the album with. The album sets variables for itself (the
// media backend, the X11 platform under Wayland, the silent sound sink, the runtime folder
// stand-ins); the programs it starts for the user must not inherit them.

#include <QProcessEnvironment>

namespace leafsong {

// Keeps the process's environment as it is now. Call it first in main, before anything changes
// a variable; later calls keep the first capture.
void CaptureStartEnvironment();

// The environment kept by CaptureStartEnvironment, or the current one when nothing was kept.
QProcessEnvironment StartEnvironment();

}  // namespace leafsong
