#include "app/input.h"

#include <gtest/gtest.h>

#include "flip/page_turner.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

TEST(InputTest, KeyTable) {
    const std::pair<int, Command> rows[] = {{Qt::Key_Escape, Command::Exit},
                                            {Qt::Key_Left, Command::FlipForward},
                                            {Qt::Key_Right, Command::FlipBackward},
                                            {Qt::Key_F1, Command::ShowReadme}};
    for (const auto& [key, command] : rows) {
        EXPECT_EQ(CommandForKey(key), command) << key;
    }
    // Every other key toggles automatic turning.
    for (const int key :
         {Qt::Key_Space, Qt::Key_Shift, Qt::Key_Control, Qt::Key_A, Qt::Key_Up, Qt::Key_F2}) {
        EXPECT_EQ(CommandForKey(key), Command::ToggleAutoFlip) << key;
    }
}

TEST(InputTest, KeysClicksAndPointerInAnEmptyAlbumAndOneOfThreePictures) {
    test::TempFolder dir;
    AlbumState state;
    Listing File1;
    PageBuffer Pic1, Pic2;
    Decorations deco;
    Surface surface(QSize(1024, 768));
    Modes modes;
    PictureCache cache;
    PageTurner turner({state, File1, Pic1, Pic2, deco, surface, modes, cache, {}, {}, {}});
    int exits = 0, helps = 0;
    AlbumInput input({state, File1, modes, turner, [&] { ++exits; }, [&] { ++helps; }, {}});
    input.setWindowWidth(1024);

    // An empty album answers only Escape.
    File1.SetPath(dir.path());
    for (const int key : {Qt::Key_Left, Qt::Key_F1, Qt::Key_A}) {
        input.Form_KeyUp(key);
    }
    input.Form_DblClick();
    input.Form_KeyUp(Qt::Key_Escape);
    EXPECT_EQ(std::tuple(state.AutoFlip, helps, exits, turner.turning()),
              std::tuple(false, 0, 1, false));
    EXPECT_EQ(input.PointerAt(900), AlbumInput::Pointer::Arrow);

    for (int i = 0; i < 3; ++i) {
        dir.writePicture(QStringLiteral("%1.jpg").arg(i), 40, 30);
    }
    File1.SetPath(dir.path());
    // F1 shows the help; other keys and double-clicks toggle automatic turning.
    input.Form_KeyUp(Qt::Key_F1);
    EXPECT_EQ(helps, 1);
    input.Form_KeyUp(Qt::Key_Shift);
    EXPECT_TRUE(state.AutoFlip);
    input.Form_KeyUp(Qt::Key_B);
    EXPECT_FALSE(state.AutoFlip);
    input.Form_MouseUp(900);
    for (const bool on : {true, false}) {
        input.Form_DblClick();
        EXPECT_EQ(state.AutoFlip, on);
    }

    // Page, loop, x, pointer: a double-click right of the half line turns forward, else backward.
    using P = AlbumInput::Pointer;
    const std::tuple<int, bool, float, P> rows[] = {
        {0, false, 900, P::PageTurn},    {0, false, 100, P::Arrow},    {0, false, 512, P::Arrow},
        {0, false, 512.5F, P::PageTurn}, {2, false, 900, P::Arrow},    {2, false, 100, P::PageTurn},
        {1, false, 900, P::PageTurn},    {1, false, 100, P::PageTurn}, {0, true, 100, P::PageTurn},
        {2, true, 900, P::PageTurn}};
    for (const auto& [page, loop, x, pointer] : rows) {
        state.PageIndex = std::int16_t(page);
        modes.SetLoop(loop);
        EXPECT_EQ(input.PointerAt(x), pointer) << page << " " << loop << " " << x;
    }
    EXPECT_EQ(input.HalfLine(), 512);
    turner.Stop();
}

}  // namespace
}  // namespace leafsong
