// Start-up, the floating book and the orderly end of the real program under Xvfb.
#include <QPainter>

#include "e2e/album_fixture.h"

// Leak checks are for the album: LeakSanitizer's tracer crashed at this harness's exit.
extern "C" const char* __asan_default_options() {  // NOLINT(bugprone-reserved-identifier)
    return "detect_leaks=0";
}

namespace leafsong::e2e {
namespace {

TEST_F(AlbumE2E, TheBookFloatsDragsWithTheLeftButtonAndEndsInOrderOnEscape) {
    // Shown 1:1: a block of the key colour (see-through) and one a step off it (opaque).
    const QRgb orange = qRgb(200, 120, 40), nearKey = qRgb(7, 7, 40);
    QImage img(750, 500, QImage::Format_RGB32);
    img.fill(orange);
    QPainter(&img).fillRect(200, 200, 100, 100, QColor(7, 7, 39));
    QPainter(&img).fillRect(450, 200, 100, 100, QColor(nearKey));
    ASSERT_TRUE(img.save(root.path(u"album/a.bmp"_s), "BMP"));
    Start({Album()});
    // The picture framed by its border, the grey cover beside it, white root around and in the
    // hole; dx: how far the window was dragged.
    auto placed = [&](int dx) {
        const QRgb cover = At(-5, 250, dx);
        return Distance(At(375, 250, dx), orange) < 30 && At(3, 250, dx) == kWhite &&
               At(375, 3, dx) == kWhite && cover != kWhite && qRed(cover) == qBlue(cover) &&
               At(-15, 250, dx) == kWhite && At(375, -20, dx) == kWhite &&
               At(250, 250, dx) == kWhite && At(500, 250, dx) == nearKey;
    };
    ASSERT_TRUE(WaitForShot([&] { return placed(0); })) << err.toStdString();

    const QStringList window = XDo(u"search --name Leafsong"_s).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(window.isEmpty());
    const int left = book.BookLeft, top = book.BookTop;
    EXPECT_FALSE(window.contains(MoveTo(left + 250, top + 250))) << "clicks pass the hole";
    EXPECT_FALSE(window.contains(MoveTo(20, 20)));
    EXPECT_TRUE(window.contains(MoveTo(left + 500, top + 250))) << "(7,7,40) is opaque";
    EXPECT_TRUE(window.contains(MoveTo(left + 100, top + 100)));

    // Left and middle held together do not drag; the left alone drags the window by 100
    // pixels. Had the first drag moved it, the book would never stand at +100.
    XDo(u"mousedown 1 mousedown 2"_s);
    MoveTo(left + 160, top + 100);
    XDo(u"mouseup 2 mouseup 1 mousedown 1"_s);
    MoveTo(left + 260, top + 100);
    XDo(u"mouseup 1"_s);
    ASSERT_TRUE(WaitForShot([&] { return placed(100); }));
    EXPECT_EQ(At(-5, 250), kWhite) << "where the cover was, the root shows";

    XDo(u"key Escape"_s);
    ASSERT_EQ(WaitForExit(), 0) << err.toStdString();
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();
}

// The pictures are a PNG, a WebP and a TIFF: each is listed, decoded and turned to.
TEST_F(AlbumE2E, APictureGivenOpensAtItselfASecondCopyHandsItsFileOverAndArrowsTurnOnce) {
    const QRgb pages[] = {qRgb(200, 40, 40), qRgb(40, 180, 40), qRgb(40, 40, 200)};
    const QString names[] = {u"0.png"_s, u"1.WebP"_s, u"2.tif"_s};
    for (int i = 0; i < 3; ++i) {
        root.writePicture(u"album/"_s + names[i], 900, 600, pages[i]);
    }
    // Anything else than a folder, picture or music file: one line, status 2, nothing saved.
    const QString bad = root.write(u"album/notes.txt"_s, "text");
    Start({bad});
    EXPECT_EQ(WaitForExit(), 2);
    EXPECT_TRUE(err.startsWith(u"leafsong: "_s + bad) && err.count(u'\n') == 1)
        << err.toStdString();
    EXPECT_TRUE(Settings().isNull());

    env.insert(u"QT_LOGGING_RULES"_s, u"leafsong.flip.debug=true"_s);
    Start({root.path(u"album/1.WebP"_s)});
    ASSERT_TRUE(WaitForBook(pages[1])) << err.toStdString();
    const QString window = XDo(u"search --onlyvisible --name Leafsong"_s).section(u'\n', 0, 0);
    EXPECT_TRUE(QString::fromUtf8(Output(u"xprop"_s, {u"-id"_s, window, u"_NET_WM_ICON"_s}))
                    .contains(u"Icon (32 x 32)"_s))
        << window.toStdString();

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(app, {root.path(u"album/0.png"_s)});
    EXPECT_TRUE(second.waitForFinished(10000) && second.exitCode() == 0)
        << second.readAllStandardError().toStdString();
    ASSERT_TRUE(WaitForBook(pages[0])) << "the running album opens at the picture handed over";

    Click(100, 200);  // the focus
    auto turnedTo = [&](int page, int times) {
        return WaitFor([&] { return err.count(u"turn end PageIndex=%1"_s.arg(page)) == times; }) &&
               WaitForBook(pages[page]);
    };
    XDo(u"key Left"_s);
    ASSERT_TRUE(turnedTo(1, 1)) << err.toStdString();
    XDo(u"key Right"_s);
    ASSERT_TRUE(turnedTo(0, 1));
    // Held for 1.5 s the key repeats; it turns once. A second turn would show in the count, or
    // leave the next Left at the last picture, where it cannot turn.
    XDo(u"keydown Left sleep 1.5 keyup Left"_s);
    ASSERT_TRUE(turnedTo(1, 2));
    EXPECT_EQ(err.count(u"turn start"_s), 3);
    XDo(u"key Left"_s);
    ASSERT_TRUE(turnedTo(2, 1));

    const int frames = int(err.count(u"FlipPos="_s));
    XDo(u"key Right"_s);
    ASSERT_TRUE(WaitFor([&] { return err.count(u"FlipPos="_s) >= frames + 3; }));
    XDo(u"key Escape"_s);
    EXPECT_EQ(WaitForExit(5000), 0) << err.toStdString();
    EXPECT_LT(err.count(u"FlipPos="_s), frames + 37) << "the turn did not run to its end";
    EXPECT_FALSE(QFile::exists(root.path(u"leafsong.sock"_s)));
}

TEST_F(AlbumE2E, RefusesAnUnsafeTempFolderThenShowsTheInformationPageAndEndsOnSigHup) {
    test::TempFolder elsewhere;
    const QString link = root.path(u"leafsong"_s);
    ASSERT_TRUE(QFile::link(elsewhere.path(), link));
    Start({Album()});
    const int status = WaitForExit();
    EXPECT_TRUE(status != 0 && status != -1) << status;
    EXPECT_TRUE(err.contains(u"symbolic link"_s) && err.count(u'\n') == 1) << err.toStdString();
    EXPECT_TRUE(Settings().isNull());
    EXPECT_TRUE(QDir(elsewhere.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot));

    // Without the link, the empty album folder shows the information page. Without
    // XDG_RUNTIME_DIR the album makes a fresh folder of its own in TMPDIR, sweeps a killed run's
    // there, and makes nothing else there.
    ASSERT_TRUE(QFile::remove(link));
    const QString tmp = root.path(u"tmp"_s), stale = u"leafsong-%1-kiLLed"_s.arg(::geteuid());
    root.write(u"tmp/"_s + stale + u"/Border.png"_s, "a killed run's");
    env.remove(u"XDG_RUNTIME_DIR"_s);
    env.insert(u"TMPDIR"_s, tmp);
    Start({Album()});
    ASSERT_TRUE(WaitForBook(qRgb(240, 240, 240), {60, 60})) << err.toStdString();
    const QStringList made = QDir(tmp).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    EXPECT_TRUE(made.size() == 1 && made[0] != stale) << made.join(u' ').toStdString();
    Signal(SIGHUP);
    ASSERT_EQ(WaitForExit(), 0);
    EXPECT_TRUE(Settings().endsWith("PicturePath=" + Album().toUtf8() + "\n"));
    EXPECT_TRUE(QDir(tmp).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();
}

}  // namespace
}  // namespace leafsong::e2e
