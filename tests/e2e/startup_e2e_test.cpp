// The real program under Xvfb, started from a copied folder as a user would start it.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "e2e/album_fixture.h"
#include "support/temp_folder.h"

namespace leafsong::e2e {
namespace {

using StartupE2E = AlbumE2E;

TEST_F(StartupE2E, ShowsTheFirstSpreadAndEndsInOrderOnEscape) {
    AlbumRun run(x);
    WritePicture(run.albumDir() + QStringLiteral("/a.jpg"), 1600, 1000, qRgb(220, 30, 30));
    WritePicture(run.albumDir() + QStringLiteral("/b.jpg"), 800, 600, qRgb(30, 200, 30));
    run.Start({run.albumDir()});
    const QImage shot = WaitForBook(qRgb(220, 30, 30));
    ASSERT_LT(Distance(At(shot, 375, 250), qRgb(220, 30, 30)), 30)
        << run.stderrText().toStdString();

    EXPECT_EQ(At(shot, 3, 250), qRgb(255, 255, 255)) << "border over the picture's edge";
    EXPECT_EQ(At(shot, 375, 3), qRgb(255, 255, 255));
    const QRgb cover = At(shot, -5, 250);
    EXPECT_NE(cover, kKey) << "cover beside the book";
    EXPECT_EQ(qRed(cover), qBlue(cover)) << "the cover is grey";
    // Around the book the white root window shows through.
    EXPECT_EQ(shot.pixel(10, 10), qRgb(255, 255, 255));
    EXPECT_EQ(At(shot, 375, -20), qRgb(255, 255, 255));
    EXPECT_EQ(TempFiles(run).size(), 4);

    FocusAndPress("Escape");
    ASSERT_EQ(run.WaitForExit(15000), 0) << run.stderrText().toStdString();
    EXPECT_EQ(ReadAll(run.settingsFile()),
              QByteArray("[Show]\nLoop=F\nRepeat=F\nFooter=F\n[Pointer]\n"
                         "BackGroundMusic=Harrowfen\nPicturePath=") +
                  run.albumDir().toUtf8() + "\n");
    EXPECT_TRUE(TempFiles(run).isEmpty());
    EXPECT_TRUE(run.stderrText().isEmpty()) << run.stderrText().toStdString();
}

TEST_F(StartupE2E, ASecondCopyEndsAtOnceAndSignalsEndInOrder) {
    for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(sig);
        AlbumRun run(x);
        WritePicture(run.albumDir() + QStringLiteral("/only.jpg"), 640, 480, qRgb(30, 30, 220));
        run.Start({run.albumDir()});
        WaitForBook(qRgb(30, 30, 220));

        EXPECT_EQ(run.RunSecond({QStringLiteral("/")}, 10000), 0);
        EXPECT_EQ(run.process().state(), QProcess::Running);
        EXPECT_FALSE(QFileInfo::exists(run.settingsFile())) << "settings are written at the end";

        ::kill(static_cast<pid_t>(run.process().processId()), sig);
        ASSERT_EQ(run.WaitForExit(15000), 0);
        EXPECT_TRUE(
            ReadAll(run.settingsFile()).endsWith("PicturePath=" + run.albumDir().toUtf8() + "\n"));
        EXPECT_TRUE(TempFiles(run).isEmpty());
    }
}

TEST_F(StartupE2E, AnEmptyFolderShowsTheInformationPage) {
    AlbumRun run(x);
    run.Start({run.albumDir()});
    const QImage shot = WaitForBook(qRgb(240, 240, 240), 0, {60, 60});
    int grey = 0;
    for (int y = 100; y < 400; ++y) {
        for (int x0 = 60; x0 < 700; ++x0) {
            grey += Distance(At(shot, x0, y), qRgb(109, 109, 109)) < 24;
        }
    }
    EXPECT_GT(grey, 2000) << "grey text on the page";
    shot.save(run.appDir() + QStringLiteral("/../info.png"));
    FocusAndPress("Escape");
    EXPECT_EQ(run.WaitForExit(15000), 0);
}

TEST_F(StartupE2E, RefusesAnUnsafeTemporaryFolderAndTouchesNothing) {
    AlbumRun run(x);
    test::TempFolder elsewhere;
    ASSERT_TRUE(QFile::link(elsewhere.path(), run.runtimeDir() + QStringLiteral("/leafsong")));
    run.Start({run.albumDir()});
    const int status = run.WaitForExit(15000);
    EXPECT_NE(status, 0);
    EXPECT_NE(status, -1);
    EXPECT_TRUE(run.stderrText().contains(QLatin1String("symbolic link")))
        << run.stderrText().toStdString();
    EXPECT_EQ(run.stderrText().count(u'\n'), 1);
    EXPECT_FALSE(QFileInfo::exists(run.settingsFile()));
    EXPECT_TRUE(QDir(elsewhere.path()).entryList(QDir::Files).isEmpty());
}

}  // namespace
}  // namespace leafsong::e2e
