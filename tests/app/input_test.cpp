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
                                            {Qt::Key_F1, Command::ShowReadme},
                                            {Qt::Key_Space, Command::ToggleAutoFlip},
                                            {Qt::Key_Shift, Command::ToggleAutoFlip},
                                            {Qt::Key_Control, Command::ToggleAutoFlip},
                                            {Qt::Key_A, Command::ToggleAutoFlip},
                                            {Qt::Key_Up, Command::ToggleAutoFlip},
                                            {Qt::Key_F2, Command::ToggleAutoFlip}};
    for (const auto& [key, command] : rows) {
        EXPECT_EQ(CommandForKey(key), command) << key;
    }
}

class InputFixture : public ::testing::Test {
protected:
    InputFixture()
        : surface(QSize(1024, 768)),
          turner(TurnServices{state, File1, Pic1, Pic2, deco, surface, modes, cache, {}, {}, {}}),
          input(InputServices{
              state, File1, modes, turner, [this] { ++exits; }, [this] { ++helps; }, {}}) {
        input.setWindowWidth(1024);
    }
    ~InputFixture() override { turner.Stop(); }
    void Album(int pictures) {
        for (int i = 0; i < pictures; ++i) {
            dir.writePicture(QStringLiteral("%1.jpg").arg(i), 40, 30);
        }
        File1.SetPath(dir.path());
    }

    test::TempFolder dir;
    AlbumState state;
    Listing File1;
    PageBuffer Pic1, Pic2;
    Decorations deco;
    Surface surface;
    Modes modes;
    PictureCache cache;
    PageTurner turner;
    AlbumInput input;
    int exits = 0;
    int helps = 0;
};

TEST_F(InputFixture, AnEmptyAlbumAnswersOnlyEscape) {
    Album(0);
    for (const int key : {int(Qt::Key_Left), int(Qt::Key_F1), int(Qt::Key_A)}) {
        input.Form_KeyUp(key);
    }
    input.Form_DblClick();
    EXPECT_FALSE(state.AutoFlip);
    EXPECT_EQ(helps, 0);
    EXPECT_FALSE(turner.turning());
    EXPECT_EQ(input.PointerAt(900), AlbumInput::Pointer::Arrow);
    input.Form_KeyUp(Qt::Key_Escape);
    EXPECT_EQ(exits, 1);
}

TEST_F(InputFixture, OtherKeysAndDoubleClicksToggleAutomaticTurning) {
    Album(3);
    input.Form_KeyUp(Qt::Key_F1);
    EXPECT_EQ(helps, 1);
    input.Form_KeyUp(Qt::Key_Shift);
    EXPECT_TRUE(state.AutoFlip);
    input.Form_KeyUp(Qt::Key_B);
    EXPECT_FALSE(state.AutoFlip);
    input.Form_MouseUp(900);
    input.Form_DblClick();
    EXPECT_TRUE(state.AutoFlip);
    input.Form_DblClick();
    EXPECT_FALSE(state.AutoFlip);
}

TEST_F(InputFixture, PointerShowsWhereATurnIsPossible) {
    Album(3);
    // Right of the half line a double-click turns forward, on or left of it backward.
    struct Row {
        int PageIndex;
        bool loop;
        float x;
        AlbumInput::Pointer pointer;
    };
    using P = AlbumInput::Pointer;
    const Row rows[] = {{0, false, 900, P::PageTurn}, {0, false, 100, P::Arrow},
                        {0, false, 512, P::Arrow},    {0, false, 512.5F, P::PageTurn},
                        {2, false, 900, P::Arrow},    {2, false, 100, P::PageTurn},
                        {1, false, 900, P::PageTurn}, {1, false, 100, P::PageTurn},
                        {0, true, 100, P::PageTurn},  {2, true, 900, P::PageTurn}};
    for (const Row& r : rows) {
        state.PageIndex = std::int16_t(r.PageIndex);
        modes.SetLoop(r.loop);
        EXPECT_EQ(input.PointerAt(r.x), r.pointer)
            << "page " << r.PageIndex << " loop " << r.loop << " x " << r.x;
    }
    EXPECT_EQ(input.HalfLine(), 512);
}

}  // namespace
}  // namespace leafsong
