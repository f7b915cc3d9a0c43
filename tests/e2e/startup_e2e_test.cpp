// The real program under Xvfb, started from a copied folder as a user would start it.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/album_state.h"
#include "e2e/x_session.h"
#include "support/temp_folder.h"

namespace leafsong::e2e {
namespace {

constexpr int kW = 1280, kH = 1024;
constexpr QRgb kKey = qRgb(7, 7, 39);

int Distance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
           std::abs(qBlue(a) - qBlue(b));
}

void WritePicture(const QString& path, int w, int h, QRgb colour) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    ASSERT_TRUE(img.save(path, "JPEG", 95));
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class StartupE2E : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(x.ok()) << "Xvfb did not start";
        book = PlaceBook(kW, kH);
    }
    QRgb At(const QImage& shot, int bx, int by) const {
        return shot.pixel(book.BookLeft + bx, book.BookTop + by);
    }
    // Waits until the book's middle shows the colour; the last screenshot.
    QImage WaitForBook(QRgb colour) {
        QImage shot;
        WaitFor(
            [&] {
                shot = x.Screenshot();
                return !shot.isNull() && Distance(At(shot, 375, 250), colour) < 30;
            },
            30000);
        return shot;
    }
    void FocusAndPress(const char* key) {
        // A click on the book gives the window the keyboard focus.
        x.XDoTool({QStringLiteral("mousemove"), QString::number(book.BookLeft + 300),
                   QString::number(book.BookTop + 200), QStringLiteral("click"),
                   QStringLiteral("1")});
        x.XDoTool({QStringLiteral("key"), QString::fromLatin1(key)});
    }
    QStringList TempFiles(AlbumRun& run) const {
        return QDir(run.runtimeDir() + QStringLiteral("/leafsong")).entryList(QDir::Files);
    }

    XSession x{kW, kH};
    BookGeometry book;
};

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
    EXPECT_EQ(shot.pixel(10, 10), kKey);
    EXPECT_EQ(At(shot, 375, -20), kKey);
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
    const QImage shot = WaitForBook(qRgb(240, 240, 240));
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
