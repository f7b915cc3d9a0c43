#include "flip/page_turner.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QThread>
#include <chrono>

#include "app/input.h"
#include "pages/put_first.h"
#include "samplegen/gif_writer.h"
#include "support/temp_folder.h"

namespace leafsong {

bool operator==(const FrameStep& a, const FrameStep& b) {
    return a.FlipPos == b.FlipPos && a.Reverse == b.Reverse;
}

namespace {

bool WaitUntil(const std::function<bool()>& cond, int ms = 10000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (; !cond() && std::chrono::steady_clock::now() < end; QThread::msleep(1)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return cond();
}

const QRgb kColours[] = {0xdc1414, 0x14c814, 0x1414dc, 0xdcdc14};

class TurnerTest : public ::testing::Test {
protected:
    TurnerTest()
        : turner({state, File1, Pic1, Pic2, deco, surface, modes, cache,
                  [this] { input.Form_DblClick(); }, [this] { LayOutFirst(); },
                  [this] { ++beeps; }}),
          input({state, File1, modes, turner, {}, {}, {}}) {
        deco.LoadFrom(QStringLiteral(":/leafsong"));
        state.book = PlaceBook(1024, 768);
        input.setWindowWidth(1024);
        turner.onFrame = [this](int pos, bool reverse) { frames.push_back({pos, reverse}); };
    }
    ~TurnerTest() override { turner.Stop(); }

    // Opens an album of n pictures: picture i is 600 + 100 i by 400 + 50 i in kColours[i].
    void Open(int n, bool loop = false) {
        for (int i = 0; i < n; ++i) {
            dir.writePicture(QStringLiteral("%1.jpg").arg(i), 600 + 100 * i, 400 + 50 * i,
                             kColours[i]);
        }
        modes.SetLoop(loop);
        File1.SetPath(dir.path());
        LayOutFirst();
    }
    void LayOutFirst() {
        turner.Abandon();
        PutFirst(pages);
    }
    void Turn(bool forward) {
        frames.clear();
        forward ? turner.FlipForward() : turner.FlipBackward();
        ASSERT_TRUE(WaitUntil([&] { return !turner.turning(); }));
    }
    // The album is at page and shows kColours[colour] (each channel's top bit) off the decorations.
    void ExpectAt(int page, int colour) {
        EXPECT_EQ(state.PageIndex, page);
        EXPECT_EQ(surface.image().pixel(state.book.rect().topLeft() + QPoint(200, 250)) & 0x808080,
                  kColours[colour] & 0x808080);
    }

    test::TempFolder dir;
    AlbumState state;
    Listing File1;
    PageBuffer Pic1, Pic2;
    Decorations deco;
    Surface surface{QSize(1024, 768)};
    Modes modes;
    PictureCache cache;
    Marks marks;
    FixedClock clock{QDate(2026, 3, 1)};
    PageServices pages{state, File1, Pic1, Pic2, deco, surface, marks, modes, clock, &cache};
    PageTurner turner;
    AlbumInput input;
    std::vector<FrameStep> frames;
    int beeps = 0;
};

TEST_F(TurnerTest, ForwardAndBackAgainThenRoundInLoopMode) {
    Open(3);
    Turn(true);
    EXPECT_EQ(frames, ForwardFrames(750));
    EXPECT_EQ(Pic2.logicalSize(), QSize(700, 450));  // picture 1, as loaded
    ExpectAt(1, 1);
    Turn(false);
    EXPECT_EQ(frames, BackwardFrames(750));
    ExpectAt(0, 0);
    modes.SetLoop(true);
    Turn(false);
    ExpectAt(2, 2);
    Turn(true);
    ExpectAt(0, 0);
    EXPECT_EQ(beeps, 0);
}

TEST_F(TurnerTest, ASinglePictureTurnsToItselfInLoopMode) {
    Open(1, true);
    Turn(true);
    EXPECT_EQ(frames, ForwardFrames(750));
    ExpectAt(0, 0);
}

TEST_F(TurnerTest, TheEndRuleBeepsAndStartsTheLoopInThePointersDirection) {
    Open(2);
    // First picture, loop off: a beep, then automatic turning backward (no button released yet:
    // the left half), which the end rule stops at once with a second beep.
    turner.FlipBackward();
    EXPECT_EQ(std::pair(beeps, state.AutoFlip), std::pair(2, false));
    ASSERT_TRUE(WaitUntil([&] { return !turner.looping(); }, 4000));
    EXPECT_TRUE(frames.empty());
    Turn(true);
    // Last picture, pointer last released on the left half: a beep, then a backward loop at once.
    input.Form_MouseUp(100);
    Turn(true);
    EXPECT_EQ(std::pair(beeps, state.AutoFlip), std::pair(3, true));
    EXPECT_EQ(frames, BackwardFrames(750));
    ExpectAt(0, 0);
    state.AutoFlip = false;
    ASSERT_TRUE(WaitUntil([&] { return !turner.looping(); }, 4000));
    EXPECT_EQ(beeps, 3);
}

TEST_F(TurnerTest, RequestsDuringATurnWaitAndTheNewestWins) {
    Open(4);
    turner.FlipForward();
    EXPECT_TRUE(turner.turning());
    turner.FlipForward();
    turner.FlipBackward();
    turner.FlipForward();  // replaces the two before
    ASSERT_TRUE(WaitUntil([&] { return frames.size() >= 74 && !turner.turning(); }));
    EXPECT_EQ(frames.size(), 74u);
    ExpectAt(2, 2);
}

TEST_F(TurnerTest, AnUnreadablePictureMidListingStartsAgainFromTheFirst) {
    dir.write(QStringLiteral("2.jpg"), "not a picture");
    Open(2, true);
    Turn(true);
    Turn(true);
    EXPECT_TRUE(frames.empty());
    ExpectAt(0, 0);
}

TEST_F(TurnerTest, ALayoutDuringATurnDropsItsRestAndTheWaitingTurn) {
    Open(3);
    turner.FlipForward();
    turner.FlipForward();
    ASSERT_TRUE(WaitUntil([&] { return frames.size() >= 5; }));
    LayOutFirst();
    const size_t drawn = frames.size();
    WaitUntil([] { return false; }, 300);
    EXPECT_EQ(frames.size(), drawn);
    EXPECT_LT(drawn, 37u);
    EXPECT_FALSE(turner.turning());
    ExpectAt(0, 0);
}

TEST_F(TurnerTest, AutomaticTurningPausesBetweenTurnsAndStopsAfterItsPause) {
    Open(3, true);
    std::vector<std::chrono::steady_clock::time_point> ends;
    turner.onTurnEnd = [&] { ends.push_back(std::chrono::steady_clock::now()); };
    state.AutoFlip = true;
    turner.FlipPage(0);
    ASSERT_TRUE(WaitUntil([&] { return ends.size() == 2; }));
    state.AutoFlip = false;
    ASSERT_TRUE(WaitUntil([&] { return !turner.looping(); }, 4000));
    EXPECT_EQ(ends.size(), 2u);
    EXPECT_EQ(state.PageIndex, 2);
    // The second turn began only after the pause, and its 37 frames took at least 37 x 5 ms.
    EXPECT_GE(ends[1] - ends[0], std::chrono::milliseconds(kAutoPauseMs + 37 * kFramePauseMs));
}

TEST_F(TurnerTest, AChangedFileIsNotServedStale) {
    Open(2);
    // Picture 1 is decoded (and cached) by the opening spread; then it is replaced.
    dir.writePicture(QStringLiteral("1.jpg"), 640, 480, kColours[3]);
    Turn(true);
    EXPECT_EQ(Pic2.logicalSize(), QSize(640, 480));
    ExpectAt(1, 3);
    // Picture 0 deleted before it is shown again: the album starts again from its first picture.
    QFile::remove(dir.path(QStringLiteral("0.jpg")));
    modes.SetLoop(true);
    Turn(true);
    ExpectAt(0, 3);
}

TEST_F(TurnerTest, ExtremeShapesAndAnimatedGifsTurn) {
    dir.writePicture(QStringLiteral("a.jpg"), 1, 1, kColours[0]);
    dir.writePicture(QStringLiteral("b.bmp"), 20000, 10, kColours[1]);
    QList<QImage> gif(3, QImage(300, 200, QImage::Format_RGB32));
    for (int i = 0; i < 3; ++i) {
        gif[i].fill(kColours[(2 + i) % 4]);
    }
    ASSERT_TRUE(WriteGif(dir.path(QStringLiteral("c.gif")), gif, 10));
    Open(0);
    Turn(true);
    Turn(true);
    ExpectAt(2, 2);  // a GIF shows its first frame
}

}  // namespace
}  // namespace leafsong
