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
    EXPECT_EQ(TempFiles().size(), 4);

    const QStringList window = XDo(u"search --name Leafsong"_s).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(window.isEmpty());
    const int left = book.BookLeft, top = book.BookTop;
    EXPECT_FALSE(window.contains(MoveTo(left + 250, top + 250))) << "clicks pass the hole";
    EXPECT_FALSE(window.contains(MoveTo(20, 20)));
    EXPECT_TRUE(window.contains(MoveTo(left + 500, top + 250))) << "(7,7,40) is opaque";
    EXPECT_TRUE(window.contains(MoveTo(left + 100, top + 100)));

    const QByteArray saved = Settings();  // the folder given is saved at once
    QProcess second;
    second.setProcessEnvironment(env);
    second.start(app, {});
    EXPECT_TRUE(second.waitForFinished(10000) && second.exitCode() == 0) << "ends at once";
    EXPECT_EQ(Settings(), saved) << "the second copy changed the settings";

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
    EXPECT_EQ(Settings(),
              "[Show]\nLoop=F\nRepeat=F\nFooter=F\nProportions=F\n[Pointer]\n"
              "BackGroundMusic=Harrowfen\nPicturePath=" +
                  Album().toUtf8() + "\n");
    EXPECT_TRUE(TempFiles().isEmpty());
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();
}

TEST_F(AlbumE2E, APictureGivenOpensAtItselfAndASecondCopyHandsItsFileToTheRunningAlbum) {
    const QRgb red = qRgb(220, 20, 20), green = qRgb(20, 200, 20), blue = qRgb(20, 20, 220);
    for (const auto& [name, colour] :
         {std::pair{u"a.bmp"_s, red}, {u"b.bmp"_s, green}, {u"c.bmp"_s, blue}}) {
        QImage img(750, 500, QImage::Format_RGB32);
        img.fill(colour);
        ASSERT_TRUE(img.save(root.path(u"album/"_s + name), "BMP"));
    }
    root.write(u"album/notes.txt"_s, "text");
    // Anything else than a folder, picture or music file: one line, status 2, nothing saved.
    const QString bad = root.path(u"album/notes.txt"_s);
    Start({bad});
    EXPECT_EQ(WaitForExit(), 2);
    EXPECT_TRUE(err.startsWith(u"leafsong: "_s + bad) && err.count(u'\n') == 1)
        << err.toStdString();
    EXPECT_TRUE(Settings().isNull());

    Start({root.path(u"album/b.bmp"_s)});
    ASSERT_TRUE(WaitForBook(green)) << err.toStdString();
    EXPECT_TRUE(Settings().endsWith("PicturePath=" + Album().toUtf8() + "\n"));
    const QString window = XDo(u"search --onlyvisible --name Leafsong"_s).section(u'\n', 0, 0);
    EXPECT_TRUE(QString::fromUtf8(Output(u"xprop"_s, {u"-id"_s, window, u"_NET_WM_ICON"_s}))
                    .contains(u"Icon (32 x 32)"_s))
        << window.toStdString();

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(app, {root.path(u"album/c.bmp"_s)});
    EXPECT_TRUE(second.waitForFinished(10000) && second.exitCode() == 0)
        << second.readAllStandardError().toStdString();
    EXPECT_TRUE(WaitForBook(blue)) << "the running album opens at the picture handed over";
    XDo(u"key Right"_s);  // a backward turn, in listing order
    EXPECT_TRUE(WaitForBook(green));
    XDo(u"key Escape"_s);
    ASSERT_EQ(WaitForExit(), 0) << err.toStdString();
    EXPECT_FALSE(QFile::exists(root.path(u"leafsong.sock"_s)));
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();
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

    // Without the link, the empty album folder shows the information page in grey text. Without
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
    int grey = 0;
    for (int y = 100; y < 400; ++y) {
        for (int x0 = 60; x0 < 700; ++x0) {
            grey += Distance(At(x0, y), qRgb(109, 109, 109)) < 24;
        }
    }
    EXPECT_GT(grey, 2000);
    Signal(SIGHUP);
    ASSERT_EQ(WaitForExit(), 0);
    EXPECT_TRUE(Settings().endsWith("PicturePath=" + Album().toUtf8() + "\n"));
    EXPECT_TRUE(QDir(tmp).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();
}

}  // namespace
}  // namespace leafsong::e2e
