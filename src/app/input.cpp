#include "app/input.h"

#include <array>
#include <utility>

namespace leafsong {

Command CommandForKey(int qtKey) {
    static constexpr std::array<std::pair<int, Command>, 4> kKeys{{
        {Qt::Key_Escape, Command::Exit},
        {Qt::Key_Left, Command::TurnForward},
        {Qt::Key_Right, Command::TurnBackward},
        {Qt::Key_F1, Command::ShowGuide},
    }};
    for (const auto& [key, command] : kKeys) {
        if (key == qtKey) {
            return command;
        }
    }
    return Command::ToggleAutoTurn;
}

AlbumInput::AlbumInput(AlbumState& state, const Modes& modes, std::function<int()> count,
                       const CommandTable& commands, std::function<void(QPoint)> popup)
    : state_(state),
      modes_(modes),
      count_(std::move(count)),
      commands_(commands),
      popup_(std::move(popup)) {}

void AlbumInput::KeyReleased(int qtKey) {
    const Command command = CommandForKey(qtKey);
    if (command != Command::Exit && count_() == 0) {
        return;
    }
    commands_.Run(command);
}

void AlbumInput::ButtonPressed(bool rightAlone, QPoint global) {
    if (rightAlone && popup_) {
        popup_(global);
    }
}

void AlbumInput::ButtonReleased(float x) {
    state_.LastMouseX = x;
}

void AlbumInput::DoubleClicked() {
    commands_.Run(Command::ToggleAutoTurnAtPointer);
}

AlbumInput::Pointer AlbumInput::PointerAt(float x) const {
    const int n = count_();
    if (n == 0) {
        return Pointer::Arrow;
    }
    const bool blocked = x > HalfLine() ? state_.PageIndex == n - 1 : state_.PageIndex == 0;
    return blocked && !modes_.loop ? Pointer::Arrow : Pointer::PageTurn;
}

}  // namespace leafsong
