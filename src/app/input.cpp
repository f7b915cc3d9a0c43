#include "app/input.h"

#include <array>
#include <utility>

#include "flip/page_turner.h"
#include "platform/log.h"

namespace leafsong {

Command CommandForKey(int qtKey) {
    static constexpr std::array<std::pair<int, Command>, 4> kKeys{{
        {Qt::Key_Escape, Command::Exit},
        {Qt::Key_Left, Command::FlipForward},
        {Qt::Key_Right, Command::FlipBackward},
        {Qt::Key_F1, Command::ShowReadme},
    }};
    for (const auto& [key, command] : kKeys) {
        if (key == qtKey) {
            return command;
        }
    }
    return Command::ToggleAutoFlip;
}

void AlbumInput::Form_KeyUp(int qtKey) {
    const Command command = CommandForKey(qtKey);
    // An empty album answers only Esc.
    if (command != Command::Exit && s_.File1.ListCount() == 0) {
        return;
    }
    qCDebug(lcInput) << "key" << qtKey << "command" << int(command);
    switch (command) {
        case Command::Exit:
            if (s_.Ready2Exit) {
                s_.Ready2Exit();
            }
            break;
        case Command::FlipForward:
            s_.turner.FlipForward();
            break;
        case Command::FlipBackward:
            s_.turner.FlipBackward();
            break;
        case Command::ShowReadme:
            if (s_.ShowReadme) {
                s_.ShowReadme();
            }
            break;
        case Command::ToggleAutoFlip:
            s_.state.AutoFlip = !s_.state.AutoFlip;
            s_.turner.FlipPage(0);
            break;
    }
}

void AlbumInput::Form_MouseDown(bool rightAlone, QPoint global) {
    if (rightAlone && s_.popup) {
        s_.popup(global);
    }
}

void AlbumInput::Form_MouseUp(float x) {
    s_.state.LastMouseX = x;
}

void AlbumInput::Form_DblClick() {
    if (s_.File1.ListCount() == 0) {
        return;
    }
    s_.state.AutoFlip = !s_.state.AutoFlip;
    // No button released yet counts as the left edge.
    const float x = s_.state.LastMouseX.value_or(0.0F);
    s_.turner.FlipPage(x > HalfLine() ? 0 : 1);
}

AlbumInput::Pointer AlbumInput::PointerAt(float x) const {
    const int n = s_.File1.ListCount();
    if (n == 0) {
        return Pointer::Arrow;
    }
    const bool blocked = x > HalfLine() ? s_.state.PageIndex == n - 1 : s_.state.PageIndex == 0;
    return blocked && !s_.modes.Loop() ? Pointer::Arrow : Pointer::PageTurn;
}

}  // namespace leafsong
