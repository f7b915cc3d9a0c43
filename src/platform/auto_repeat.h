#pragma once

namespace leafsong {

// Asks the X server to send a held key as presses and one real release (detectable
// auto-repeat), so a held key acts once. False where that cannot be had (not X11).
bool RequestDetectableAutoRepeat();

}  // namespace leafsong
