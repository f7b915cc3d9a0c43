#include "app/input.h"

#include <gtest/gtest.h>

#include "app/key_gate.h"

namespace leafsong {
namespace {

using namespace Qt::StringLiterals;
using C = Command;

// Esc, Left and F1 are pressed in the whole album.
TEST(InputTest, KeysGesturesAndThePointer) {
    for (const auto& [key, command] : {std::pair{Qt::Key_Right, C::TurnBackward},
                                       {Qt::Key_Shift, C::ToggleAutoTurn},
                                       {Qt::Key_A, C::ToggleAutoTurn}}) {
        EXPECT_EQ(CommandForKey(key), command) << key;
    }
    AlbumState state;
    Modes modes;
    int count = 0, doubleClicks = 0;
    QList<QPoint> menus;
    CommandTable commands;
    commands.Bind(C::ToggleAutoTurnAtPointer, [&](const QStringList&) { ++doubleClicks; });
    AlbumInput input(
        state, modes, [&] { return count; }, commands, [&](QPoint p) { menus << p; });
    input.setWindowWidth(1024);
    using P = AlbumInput::Pointer;
    EXPECT_EQ(input.PointerAt(900), P::Arrow);  // an empty album
    input.ButtonPressed(false, {1, 2});
    input.ButtonPressed(true, {3, 4});
    input.DoubleClicked();
    EXPECT_EQ(menus, QList{QPoint(3, 4)});
    EXPECT_EQ(doubleClicks, 1);
    count = 3;
    // Page, loop: can a turn start left of the half line (which counts as left), right of it?
    for (const auto& [page, loop, left, right] : {std::tuple{0, false, false, true},
                                                  {1, false, true, true},
                                                  {2, false, true, false},
                                                  {0, true, true, true},
                                                  {2, true, true, true}}) {
        state.PageIndex = std::int16_t(page);
        modes.loop = loop;
        EXPECT_EQ(std::pair(input.PointerAt(512), input.PointerAt(512.5)),
                  std::pair(left ? P::PageTurn : P::Arrow, right ? P::PageTurn : P::Arrow));
    }
}

TEST(KeyGateTest, ActsOnceOnTheReleaseOfAPressItSaw) {
    KeyGate gate;
    EXPECT_FALSE(gate.Release(Qt::Key_Escape, false));  // pressed in a menu that has closed
    gate.Press(Qt::Key_Left, false);
    gate.Press(Qt::Key_Left, true);
    EXPECT_EQ((std::array{gate.Release(Qt::Key_Left, true), gate.Release(Qt::Key_Left, false),
                          gate.Release(Qt::Key_Left, false)}),
              (std::array{false, true, false}));  // a repeat, the release, a second release
    gate.Press(Qt::Key_A, false);
    gate.Reset();
    EXPECT_FALSE(gate.Release(Qt::Key_A, false));
}

}  // namespace
}  // namespace leafsong
