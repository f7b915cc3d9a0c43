// Page turns of the real program under Xvfb, driven by keys as a user would.
#include <gtest/gtest.h>

#include <QFile>

#include "e2e/album_fixture.h"

namespace leafsong::e2e {
namespace {

class TurnE2E : public AlbumE2E {
protected:
    void StartAlbum(AlbumRun& run, int pictures) {
        for (int i = 0; i < pictures; ++i) {
            WritePicture(run.albumDir() + QStringLiteral("/%1.jpg").arg(i), 900, 600, kPages[i]);
        }
        run.env().insert(QStringLiteral("QT_LOGGING_RULES"),
                         QStringLiteral("leafsong.flip.debug=true"));
        run.Start({run.albumDir()});
        WaitForBook(kPages[0]);
        // A click on the left half gives the focus (and is the last release the album saw).
        x.XDoTool({QStringLiteral("mousemove"), QString::number(book.BookLeft + 100),
                   QString::number(book.BookTop + 200), QStringLiteral("click"),
                   QStringLiteral("1")});
    }
    void Key(const char* key) { x.XDoTool({QStringLiteral("key"), QString::fromLatin1(key)}); }
    static int Count(AlbumRun& run, const char* what) {
        return int(run.stderrText().count(QLatin1String(what)));
    }
    bool WaitForLog(AlbumRun& run, const char* what, int times, int ms = 15000) {
        return WaitFor([&] { return Count(run, what) >= times; }, ms);
    }

    static constexpr QRgb kPages[] = {qRgb(200, 40, 40), qRgb(40, 180, 40), qRgb(40, 40, 200)};
};

TEST_F(TurnE2E, ArrowsTurnForwardAndBack) {
    AlbumRun run(x);
    StartAlbum(run, 3);
    Key("Left");
    ASSERT_TRUE(WaitForLog(run, "turn end PageIndex=1", 1));
    QImage shot = WaitForBook(kPages[1]);
    EXPECT_LT(Distance(At(shot, 375, 250), kPages[1]), 30);
    EXPECT_EQ(Count(run, "FlipPos="), 37);
    shot.save(run.appDir() + QStringLiteral("/../turned.png"));
    Key("Right");
    WaitForBook(kPages[0]);
    ASSERT_TRUE(WaitForLog(run, "turn end PageIndex=0", 1));
    EXPECT_EQ(Count(run, "FlipPos="), 74);
    Key("Escape");
    EXPECT_EQ(run.WaitForExit(15000), 0);
}

TEST_F(TurnE2E, AKeyStartsAndStopsAutomaticTurning) {
    AlbumRun run(x);
    StartAlbum(run, 3);
    Key("a");
    // The click was on the left half, but a key always turns forward.
    ASSERT_TRUE(WaitForLog(run, "turn end PageIndex=1", 1));
    ASSERT_TRUE(WaitForLog(run, "turn end PageIndex=2", 1, 5000)) << "the next after 1.5 s";
    Key("a");
    // The loop ends after its pause: at the last picture it would only beep.
    WaitFor([] { return false; }, 2500);
    EXPECT_EQ(Count(run, "turn start"), 2);
    EXPECT_EQ(Count(run, "beep"), 0);
    Key("Escape");
    EXPECT_EQ(run.WaitForExit(15000), 0);
}

TEST_F(TurnE2E, TheEndRuleBeepsAndStartsTheLoop) {
    AlbumRun run(x);
    StartAlbum(run, 2);
    // Backward at the first picture with the loop mode off: a beep; the last release was on the
    // left half, so automatic turning starts backward and stops at once with a second beep.
    Key("Right");
    ASSERT_TRUE(WaitForLog(run, "beep", 2));
    EXPECT_EQ(Count(run, "FlipPos="), 0);
    // On the right half the loop goes forward and turns.
    x.XDoTool({QStringLiteral("mousemove"), QString::number(book.BookLeft + 600),
               QString::number(book.BookTop + 200), QStringLiteral("click"), QStringLiteral("1")});
    Key("Right");
    ASSERT_TRUE(WaitForLog(run, "beep", 3));
    ASSERT_TRUE(WaitForLog(run, "turn end PageIndex=1", 1));
    WaitForBook(kPages[1]);
    Key("Escape");
    EXPECT_EQ(run.WaitForExit(15000), 0);
}

TEST_F(TurnE2E, AHeldKeyTurnsOnce) {
    AlbumRun run(x);
    StartAlbum(run, 3);
    x.XDoTool({QStringLiteral("keydown"), QStringLiteral("Left")});
    WaitFor([] { return false; }, 1500);
    x.XDoTool({QStringLiteral("keyup"), QStringLiteral("Left")});
    ASSERT_TRUE(WaitForLog(run, "turn end", 1));
    WaitFor([] { return false; }, 1000);
    EXPECT_EQ(Count(run, "turn start"), 1);
    Key("Escape");
    EXPECT_EQ(run.WaitForExit(15000), 0);
}

TEST_F(TurnE2E, EscapeMidTurnEndsAtOnceWithTheSettingsWritten) {
    AlbumRun run(x);
    StartAlbum(run, 3);
    Key("Left");
    ASSERT_TRUE(WaitForLog(run, "FlipPos=", 3));
    Key("Escape");
    EXPECT_EQ(run.WaitForExit(15000), 0);
    EXPECT_LT(Count(run, "FlipPos="), 37);
    EXPECT_TRUE(ReadAll(run.settingsFile()).contains("PicturePath=" + run.albumDir().toUtf8()));
}

}  // namespace
}  // namespace leafsong::e2e
