#pragma once
// What keys and mouse gestures mean to the album, in one place.

#include <QPoint>
#include <functional>

#include "app/album_state.h"
#include "menu/modes.h"
#include "pages/listing.h"

namespace leafsong {

class PageTurner;

// The album's commands that keys and menu items lead to.
enum class Command { Exit, FlipForward, FlipBackward, ShowReadme, ToggleAutoFlip };

// The command a released key gives: Esc, Left, Right, F1, and anything else (modifiers too).
Command CommandForKey(int qtKey);

struct InputServices {
    AlbumState& state;
    const Listing& File1;
    const Modes& modes;
    PageTurner& turner;
    std::function<void()> Ready2Exit;
    std::function<void()> ShowReadme;
    std::function<void(QPoint global)> popup;  // the menu at the pointer
};

class AlbumInput {
public:
    explicit AlbumInput(InputServices s) : s_(std::move(s)) {}

    enum class Pointer { Arrow, PageTurn };

    void Form_KeyUp(int qtKey);
    // rightAlone: the right button and no other went down.
    void Form_MouseDown(bool rightAlone, QPoint global);
    // x in the window's device pixels.
    void Form_MouseUp(float x);
    void Form_DblClick();
    // The pointer to show at x: the page-turn pointer where a double-click can turn a page.
    Pointer PointerAt(float x) const;

    // Half of the window's width in device pixels: the line between the book's halves.
    double HalfLine() const { return windowWidth_ * 0.5; }
    void setWindowWidth(int devicePixels) { windowWidth_ = devicePixels; }

private:
    InputServices s_;
    int windowWidth_ = 0;
};

}  // namespace leafsong
