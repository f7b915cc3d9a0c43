// The book floats over the desktop: see-through, click-through, dragged with the left button;
// page numbers; unreadable pictures renamed away and given back even after a kill.
#include <gtest/gtest.h>
#include <signal.h>

#include <QFile>
#include <QFileInfo>

#include "e2e/album_fixture.h"

namespace leafsong::e2e {
namespace {

using FloatingE2E = AlbumE2E;
constexpr QRgb kWhite = qRgb(255, 255, 255);

// A 750 x 500 picture (shown 1:1) with a block of the key colour and one a step off it.
void WriteKeyedPicture(const QString& path) {
    QImage img(750, 500, QImage::Format_RGB32);
    img.fill(qRgb(200, 120, 40));
    for (int y = 200; y < 300; ++y) {
        for (int x = 200; x < 300; ++x) {
            img.setPixel(x, y, kKey);
            img.setPixel(x + 250, y, qRgb(7, 7, 40));
        }
    }
    ASSERT_TRUE(img.save(path, "BMP"));
}

TEST_F(FloatingE2E, KeyColourIsSeeThroughAndClickThroughAndTheBookDrags) {
    AlbumRun run(x);
    WriteKeyedPicture(run.albumDir() + QStringLiteral("/keyed.bmp"));
    run.Start({run.albumDir()});
    QImage shot = WaitForBook(qRgb(200, 120, 40));
    EXPECT_EQ(shot.pixel(5, 5), kWhite);
    EXPECT_EQ(At(shot, 250, 250), kWhite) << "key colour inside the picture shows the root";
    EXPECT_EQ(At(shot, 500, 250), qRgb(7, 7, 40));

    const QString album = x.XDoToolOutput({QStringLiteral("search"), QStringLiteral("--name"),
                                           QStringLiteral("Leafsong")})
                              .value_or(QString());
    ASSERT_FALSE(album.trimmed().isEmpty());
    auto windowAt = [&](int px, int py) {
        for (int attempt = 0; attempt < 5; ++attempt) {
            Mouse({QString::number(px), QString::number(py)});
            const QString loc =
                x.XDoToolOutput({QStringLiteral("getmouselocation"), QStringLiteral("--shell")})
                    .value_or(QString());
            if (loc.contains(QStringLiteral("X=%1\n").arg(px))) {
                return loc.section(QStringLiteral("WINDOW="), 1).trimmed();
            }
        }
        return QString();
    };
    const int left = book.BookLeft, top = book.BookTop;
    EXPECT_FALSE(album.contains(windowAt(left + 250, top + 250))) << "clicks pass the hole";
    EXPECT_FALSE(album.contains(windowAt(20, 20)));
    EXPECT_TRUE(album.contains(windowAt(left + 500, top + 250))) << "(7,7,40) is opaque";
    EXPECT_TRUE(album.contains(windowAt(left + 100, top + 100)));

    // Left and middle held together do not drag.
    Mouse({QString::number(left + 100), QString::number(top + 100)});
    x.XDoTool({QStringLiteral("mousedown"), QStringLiteral("1"), QStringLiteral("mousedown"),
               QStringLiteral("2")});
    for (int i = 1; i <= 5; ++i) {
        Mouse({QString::number(left + 100 + 20 * i), QString::number(top + 100)});
    }
    x.XDoTool({QStringLiteral("mouseup"), QStringLiteral("2"), QStringLiteral("mouseup"),
               QStringLiteral("1")});
    shot = x.Screenshot();
    EXPECT_EQ(At(shot, 20, 250), At(shot, 20, 250, 100)) << "the book did not move";

    // The left button alone drags the whole window.
    Mouse({QString::number(left + 100), QString::number(top + 100)});
    x.XDoTool({QStringLiteral("mousedown"), QStringLiteral("1")});
    for (int i = 1; i <= 5; ++i) {
        Mouse({QString::number(left + 100 + 20 * i), QString::number(top + 100)});
    }
    x.XDoTool({QStringLiteral("mouseup"), QStringLiteral("1")});
    shot = WaitForBook(qRgb(200, 120, 40), 100);
    EXPECT_EQ(At(shot, 3, 250, 100), kWhite) << "the border moved with the book";
    EXPECT_EQ(At(shot, 250, 250, 100), kWhite);
    EXPECT_EQ(At(shot, 500, 250, 100), qRgb(7, 7, 40));
    EXPECT_EQ(At(shot, -5, 250), kWhite) << "where the cover was, the root shows";
    EXPECT_NE(At(shot, -5, 250, 100), kWhite);

    FocusAndPress("Escape");
    EXPECT_EQ(run.WaitForExit(15000), 0);
}

TEST_F(FloatingE2E, PageNumbersWhenTheFooterIsOn) {
    AlbumRun run(x);
    QFile ini(run.settingsFile());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Show]\nFooter=T\n");
    ini.close();
    const QRgb paper = qRgb(225, 225, 225);
    WritePicture(run.albumDir() + QStringLiteral("/a.jpg"), 1024, 768, paper);
    WritePicture(run.albumDir() + QStringLiteral("/b.jpg"), 1024, 768, paper);
    run.Start({run.albumDir()});
    const QImage shot = WaitForBook(paper);
    // "1/2" at (919, 698) of the picture, scaled into the book.
    int red = 0;
    for (int y = 440; y < 500; ++y) {
        for (int x0 = 650; x0 < 750; ++x0) {
            const QRgb p = At(shot, x0, y);
            red += qRed(p) > 180 && qGreen(p) < 90 && qBlue(p) < 90;
        }
    }
    EXPECT_GT(red, 20);
    FocusAndPress("Escape");
    EXPECT_EQ(run.WaitForExit(15000), 0);
}

TEST_F(FloatingE2E, UnreadablePicturesGetTheirNamesBackAfterEscapeAndAfterAKill) {
    AlbumRun run(x);
    const QString bad = run.albumDir() + QStringLiteral("/a.jpg");
    const QString marked = run.albumDir() + QStringLiteral("/a.(F)jpg");
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("this is text, not a picture\n");
    f.close();
    WritePicture(run.albumDir() + QStringLiteral("/b.jpg"), 800, 600, qRgb(30, 200, 30));

    run.Start({run.albumDir()});
    WaitForBook(qRgb(30, 200, 30));
    EXPECT_TRUE(QFileInfo::exists(marked));
    EXPECT_FALSE(QFileInfo::exists(bad));
    FocusAndPress("Escape");
    ASSERT_EQ(run.WaitForExit(15000), 0);
    EXPECT_TRUE(QFileInfo::exists(bad));
    EXPECT_FALSE(QFileInfo::exists(marked));

    // Killed while the file is renamed: the next start gives the name back first.
    run.Start({run.albumDir()});
    WaitForBook(qRgb(30, 200, 30));
    ASSERT_TRUE(QFileInfo::exists(marked));
    ::kill(static_cast<pid_t>(run.process().processId()), SIGKILL);
    run.WaitForExit(15000);
    EXPECT_TRUE(QFileInfo::exists(marked));
    run.Start({run.albumDir()});
    WaitForBook(qRgb(30, 200, 30));
    FocusAndPress("Escape");
    ASSERT_EQ(run.WaitForExit(15000), 0);
    EXPECT_TRUE(QFileInfo::exists(bad));
    EXPECT_FALSE(QFileInfo::exists(marked));
    EXPECT_EQ(ReadAll(bad), QByteArray("this is text, not a picture\n"));
}

}  // namespace
}  // namespace leafsong::e2e
