#pragma once
// A key acts on its release only when its press reached the album too. The key that closes a
// menu or a dialog delivers its release to the window beneath; that release must do nothing.

#include <QSet>

namespace leafsong {

class KeyGate {
public:
    // Records a press (repeats of a held key are ignored).
    void Press(int key, bool autoRepeat);
    // True when the release should act: its press was seen and this is not a repeat.
    bool Release(int key, bool autoRepeat);
    // Forgets all presses (focus went elsewhere, e.g. to a menu).
    void Reset() { pressed_.clear(); }

private:
    QSet<int> pressed_;
};

}  // namespace leafsong
