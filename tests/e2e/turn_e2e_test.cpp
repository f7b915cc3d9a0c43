// Page turns of the real program under Xvfb, driven by keys as a user would.
#include "e2e/album_fixture.h"

namespace leafsong::e2e {
namespace {

// The pictures are a PNG, a WebP and a TIFF: each is listed, decoded and turned to.
TEST_F(AlbumE2E, ArrowsTurnAHeldKeyTurnsOnceAndEscapeEndsMidTurn) {
    const QRgb pages[] = {qRgb(200, 40, 40), qRgb(40, 180, 40), qRgb(40, 40, 200)};
    const QString names[] = {u"0.png"_s, u"1.WebP"_s, u"2.tif"_s};
    for (int i = 0; i < 3; ++i) {
        root.writePicture(u"album/"_s + names[i], 900, 600, pages[i]);
    }
    env.insert(u"QT_LOGGING_RULES"_s, u"leafsong.flip.debug=true"_s);
    Start({Album()});
    ASSERT_TRUE(WaitForBook(pages[0])) << err.toStdString();
    Click(100, 200);  // the focus
    auto turnedTo = [&](int page, int times) {
        return WaitFor([&] { return err.count(u"turn end PageIndex=%1"_s.arg(page)) == times; }) &&
               WaitForBook(pages[page]);
    };

    XDo(u"key Left"_s);
    ASSERT_TRUE(turnedTo(1, 1)) << err.toStdString();
    EXPECT_EQ(err.count(u"FlipPos="_s), 37);
    XDo(u"key Right"_s);
    ASSERT_TRUE(turnedTo(0, 1));
    EXPECT_EQ(err.count(u"FlipPos="_s), 74);

    // Held for 1.5 s the key repeats; it turns once. A second turn would show in the count, or
    // leave the next Left at the last picture, where it cannot turn.
    XDo(u"keydown Left sleep 1.5 keyup Left"_s);
    ASSERT_TRUE(turnedTo(1, 2));
    EXPECT_EQ(err.count(u"turn start"_s), 3);

    XDo(u"key Left"_s);
    ASSERT_TRUE(turnedTo(2, 1));

    XDo(u"key Right"_s);
    ASSERT_TRUE(WaitFor([&] { return err.count(u"FlipPos="_s) >= 148 + 3; }));
    XDo(u"key Escape"_s);
    EXPECT_EQ(WaitForExit(5000), 0);
    EXPECT_LT(err.count(u"FlipPos="_s), 148 + 37) << "the turn did not run to its end";
}

}  // namespace
}  // namespace leafsong::e2e
