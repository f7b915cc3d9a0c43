#pragma once
// What keys and mouse gestures mean to the album: each leads to a command of the table.

#include <QPoint>
#include <functional>

#include "app/command_table.h"
#include "core/album_state.h"
#include "core/modes.h"

namespace leafsong {

// The command a released key gives: Esc, Left, Right, F1, and anything else (modifiers too).
Command CommandForKey(int qtKey);

class AlbumInput {
public:
    // count gives the pictures in the listing; popup opens the menu at a point of the screen.
    AlbumInput(AlbumState& state, const Modes& modes, std::function<int()> count,
               const CommandTable& commands, std::function<void(QPoint global)> popup);

    enum class Pointer { Arrow, PageTurn };

    // A key released whose press the window saw. An empty album answers only Esc.
    void KeyReleased(int qtKey);
    // rightAlone: the right button and no other went down: the menu opens there.
    void ButtonPressed(bool rightAlone, QPoint global);
    // x in the window's device pixels, kept for the next double-click.
    void ButtonReleased(float x);
    void DoubleClicked();
    // The pointer to show at x: the page-turn pointer where a double-click can turn a page.
    Pointer PointerAt(float x) const;

    // Half of the window's width in device pixels: the line between the book's halves.
    double HalfLine() const { return windowWidth_ * 0.5; }
    void setWindowWidth(int devicePixels) { windowWidth_ = devicePixels; }

private:
    AlbumState& state_;
    const Modes& modes_;
    std::function<int()> count_;
    const CommandTable& commands_;
    std::function<void(QPoint)> popup_;
    int windowWidth_ = 0;
};

}  // namespace leafsong
