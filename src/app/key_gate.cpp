#include "app/key_gate.h"

namespace leafsong {

void KeyGate::Press(int key, bool autoRepeat) {
    if (!autoRepeat) {
        pressed_.insert(key);
    }
}

bool KeyGate::Release(int key, bool autoRepeat) {
    if (autoRepeat) {
        return false;
    }
    return pressed_.remove(key);
}

}  // namespace leafsong
