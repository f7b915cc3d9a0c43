// Turns driven through the album's own parts on the offscreen platform.
#include "flip/page_turner.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include "app/input.h"
#include "pages/put_first.h"
#include "samplegen/gif_writer.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

bool WaitUntil(const std::function<bool()>& cond, int ms = 10000) {
    QElapsedTimer t;
    t.start();
    while (!cond()) {
        if (t.elapsed() > ms) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

const QRgb kColours[] = {qRgb(220, 20, 20), qRgb(20, 200, 20), qRgb(20, 20, 220),
                         qRgb(220, 220, 20), qRgb(20, 220, 220)};

class TurnerTest : public ::testing::Test {
protected:
    TurnerTest()
        : surface(QSize(1024, 768)),
          turner(TurnServices{state, File1, Pic1, Pic2, deco, surface, modes, cache,
                              [this] { input.Form_DblClick(); }, [this] { LayOutFirst(); },
                              [this] { ++beeps; }}),
          input(InputServices{state, File1, modes, turner, {}, {}, {}}) {
        deco.LoadFrom(QStringLiteral(":/leafsong"));
        state.book = PlaceBook(1024, 768);
        input.setWindowWidth(1024);
        turner.onFrame = [this](int pos, bool reverse) { frames.push_back({pos, reverse}); };
        turner.onTurnEnd = [this] { ++turnsEnded; };
    }
    ~TurnerTest() override { turner.Stop(); }

    void Pictures(int n) {
        for (int i = 0; i < n; ++i) {
            dir.writePicture(QStringLiteral("%1.jpg").arg(i), 600 + 100 * i, 400 + 50 * i,
                             kColours[i % 5]);
        }
    }
    void LayOutFirst() {
        turner.Abandon();
        PageServices s{state, File1, Pic1, Pic2, deco, surface, marks, modes, clock, &cache};
        PutFirst(s);
    }
    void Open() {
        File1.SetPath(dir.path());
        LayOutFirst();
    }
    void WaitIdle() {
        ASSERT_TRUE(WaitUntil([&] { return !turner.turning(); }));
    }
    // The colour the book shows where no decoration lies.
    QRgb Shown() const {
        return surface.image().pixel(state.book.BookLeft + 200, state.book.BookTop + 250);
    }
    static bool Near(QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                   std::abs(qBlue(a) - qBlue(b)) <
               40;
    }

    test::TempFolder dir;
    AlbumState state;
    Listing File1;
    PageBuffer Pic1, Pic2;
    Decorations deco;
    Surface surface;
    Modes modes;
    PictureCache cache;
    Marks marks;
    FixedClock clock{QDate(2026, 3, 1)};
    PageTurner turner;
    AlbumInput input;
    std::vector<FrameStep> frames;
    int beeps = 0;
    int turnsEnded = 0;
};

std::vector<int> Positions(const std::vector<FrameStep>& f) {
    std::vector<int> out;
    for (const FrameStep& s : f) {
        out.push_back(s.FlipPos);
    }
    return out;
}

TEST_F(TurnerTest, ForwardAndBackAgain) {
    Pictures(3);
    Open();
    turner.FlipForward();
    WaitIdle();
    EXPECT_EQ(Positions(frames), Positions(ForwardFrames(750)));
    EXPECT_EQ(frames.size(), 37u);
    EXPECT_EQ(state.PageIndex, 1);
    EXPECT_EQ(Pic2.logicalSize(), QSize(700, 450));  // picture 1, as loaded
    EXPECT_TRUE(Near(Shown(), kColours[1]));

    frames.clear();
    turner.FlipBackward();
    WaitIdle();
    EXPECT_EQ(Positions(frames), Positions(BackwardFrames(750)));
    EXPECT_EQ(state.PageIndex, 0);
    EXPECT_EQ(Pic1.logicalSize(), QSize(600, 400));
    EXPECT_TRUE(Near(Shown(), kColours[0]));
    EXPECT_EQ(beeps, 0);
}

TEST_F(TurnerTest, LoopModeWrapsAroundBothWays) {
    Pictures(3);
    modes.SetLoop(true);
    Open();
    turner.FlipBackward();
    WaitIdle();
    EXPECT_EQ(state.PageIndex, 2);
    EXPECT_TRUE(Near(Shown(), kColours[2]));
    turner.FlipForward();
    WaitIdle();
    EXPECT_EQ(state.PageIndex, 0);
    EXPECT_EQ(frames.size(), 74u);
}

TEST_F(TurnerTest, ASinglePictureTurnsToItselfInLoopMode) {
    Pictures(1);
    modes.SetLoop(true);
    Open();
    turner.FlipForward();
    WaitIdle();
    EXPECT_EQ(frames.size(), 37u);
    EXPECT_EQ(state.PageIndex, 0);
    EXPECT_TRUE(Near(Shown(), kColours[0]));
}

TEST_F(TurnerTest, TheEndRuleBeepsAndStartsTheLoopInThePointersDirection) {
    Pictures(2);
    Open();
    // At the first picture, loop off: nothing moves, automatic turning goes on and, with no
    // button released yet (the left half), turns backward, where the end rule at once switches
    // it off again with a second beep. The loop ends after its pause.
    turner.FlipBackward();
    EXPECT_EQ(beeps, 2);
    EXPECT_FALSE(state.AutoFlip);
    EXPECT_TRUE(frames.empty());
    ASSERT_TRUE(WaitUntil([&] { return !turner.looping(); }, 4000));
    EXPECT_TRUE(frames.empty());

    turner.FlipForward();
    WaitIdle();
    ASSERT_EQ(state.PageIndex, 1);
    // At the last picture, the pointer last released on the left half: the beep, then a
    // backward loop that turns at once.
    input.Form_MouseUp(100);
    frames.clear();
    turner.FlipForward();
    EXPECT_EQ(beeps, 3);
    EXPECT_TRUE(state.AutoFlip);
    EXPECT_TRUE(turner.turning());
    WaitIdle();
    EXPECT_EQ(Positions(frames), Positions(BackwardFrames(750)));
    EXPECT_EQ(state.PageIndex, 0);
    state.AutoFlip = false;
    ASSERT_TRUE(WaitUntil([&] { return !turner.looping(); }, 4000));
    EXPECT_EQ(beeps, 3);
}

TEST_F(TurnerTest, RequestsDuringATurnWaitAndTheNewestWins) {
    Pictures(4);
    Open();
    turner.FlipForward();
    EXPECT_TRUE(turner.turning());
    turner.FlipForward();
    turner.FlipBackward();
    turner.FlipForward();  // replaces the two before
    ASSERT_TRUE(WaitUntil([&] { return turnsEnded == 2 && !turner.turning(); }));
    EXPECT_EQ(frames.size(), 74u);
    EXPECT_EQ(state.PageIndex, 2);
    EXPECT_TRUE(Near(Shown(), kColours[2]));
}

TEST_F(TurnerTest, AnUnreadablePictureMidListingStartsAgainFromTheFirst) {
    Pictures(2);
    dir.write(QStringLiteral("2.jpg"), "not a picture");
    modes.SetLoop(true);
    Open();
    turner.FlipForward();
    WaitIdle();
    ASSERT_EQ(state.PageIndex, 1);
    frames.clear();
    turner.FlipForward();
    WaitIdle();
    EXPECT_TRUE(frames.empty());
    EXPECT_EQ(state.PageIndex, 0);
    EXPECT_TRUE(Near(Shown(), kColours[0]));
}

TEST_F(TurnerTest, ALayoutDuringATurnDropsItsRestAndTheWaitingTurn) {
    Pictures(3);
    Open();
    turner.FlipForward();
    turner.FlipForward();
    ASSERT_TRUE(WaitUntil([&] { return frames.size() >= 5; }));
    LayOutFirst();
    const size_t drawn = frames.size();
    WaitUntil([] { return false; }, 300);
    EXPECT_EQ(frames.size(), drawn);
    EXPECT_LT(drawn, 37u);
    EXPECT_FALSE(turner.turning());
    EXPECT_EQ(state.PageIndex, 0);
    EXPECT_TRUE(Near(Shown(), kColours[0]));
}

TEST_F(TurnerTest, AutomaticTurningPausesBetweenTurnsAndStopsAfterItsPause) {
    Pictures(3);
    modes.SetLoop(true);
    Open();
    std::vector<qint64> ends;
    QElapsedTimer t;
    t.start();
    turner.onTurnEnd = [&] { ends.push_back(t.elapsed()); };
    state.AutoFlip = true;
    turner.FlipPage(0);
    ASSERT_TRUE(WaitUntil([&] { return ends.size() == 2; }, 10000));
    state.AutoFlip = false;
    ASSERT_TRUE(WaitUntil([&] { return !turner.looping(); }, 4000));
    EXPECT_EQ(ends.size(), 2u);
    EXPECT_EQ(state.PageIndex, 2);
    // The second turn began only after the pause: its 37 frames took at least 37 x 5 ms.
    EXPECT_GE(ends[1] - ends[0], kAutoPauseMs + 37 * kFramePauseMs);
}

TEST_F(TurnerTest, AChangedFileIsNotServedStale) {
    Pictures(2);
    Open();
    // Picture 1 is decoded (and cached) by the opening spread; then it is replaced.
    dir.writePicture(QStringLiteral("1.jpg"), 640, 480, kColours[3]);
    turner.FlipForward();
    WaitIdle();
    EXPECT_EQ(Pic2.logicalSize(), QSize(640, 480));
    EXPECT_TRUE(Near(Shown(), kColours[3]));
    // Deleted before it is shown again: the album starts again from its first picture.
    QFile::remove(dir.path(QStringLiteral("0.jpg")));
    modes.SetLoop(true);
    turner.FlipForward();
    WaitIdle();
    EXPECT_EQ(state.PageIndex, 0);
    EXPECT_EQ(File1.List(0), QStringLiteral("1.jpg"));
}

TEST_F(TurnerTest, ExtremeShapesAndAnimatedGifsTurn) {
    dir.writePicture(QStringLiteral("a.jpg"), 1, 1, kColours[0]);
    dir.writePicture(QStringLiteral("b.bmp"), 20000, 10, kColours[1]);
    QList<QImage> gifFrames;
    for (const QRgb c : {kColours[2], kColours[3], kColours[4]}) {
        QImage f(300, 200, QImage::Format_RGB32);
        f.fill(c);
        gifFrames << f;
    }
    ASSERT_TRUE(WriteGif(dir.path(QStringLiteral("c.gif")), gifFrames, 10));
    Open();
    for (int i = 1; i <= 2; ++i) {
        turner.FlipForward();
        WaitIdle();
        EXPECT_EQ(state.PageIndex, i);
    }
    EXPECT_TRUE(Near(Shown(), kColours[2])) << "a GIF shows its first frame";
    EXPECT_EQ(frames.size(), 74u);
}

}  // namespace
}  // namespace leafsong
