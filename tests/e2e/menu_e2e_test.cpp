// The popup menu, the folder dialog and the guide, as a user works them under Xvfb.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "e2e/album_fixture.h"

namespace leafsong::e2e {
namespace {

class MenuE2E : public AlbumE2E {
protected:
    void StartAlbum(AlbumRun& run) {
        WritePicture(run.albumDir() + QStringLiteral("/a.jpg"), 900, 600, kPage);
        run.env().insert(QStringLiteral("QT_LOGGING_RULES"),
                         QStringLiteral("leafsong.flip.debug=true"));
        run.Start({run.albumDir()});
        WaitForBook(kPage);
    }
    // A right click on the book; waits until the menu shows.
    void OpenMenu() {
        const QPoint at(book.BookLeft + 200, book.BookTop + 150);
        x.XDoTool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                   QStringLiteral("click"), QStringLiteral("3")});
        // The menu opens right of and below the pointer, over the page.
        WaitFor(
            [&] {
                const QImage shot = x.Screenshot();
                return Distance(shot.pixel(at.x() + 40, at.y() + 12), kPage) > 60;
            },
            5000);
    }
    void Key(const char* key) { x.XDoTool({QStringLiteral("key"), QString::fromLatin1(key)}); }
    void Settle(int ms) {
        WaitFor([] { return false; }, ms);
    }

    static constexpr QRgb kPage = qRgb(200, 60, 60);
};

TEST_F(MenuE2E, AccessKeysPickTheModesAndEscapeClosesTheMenu) {
    AlbumRun run(x);
    StartAlbum(run);
    for (const char* key : {"l", "r", "f"}) {
        OpenMenu();
        Key(key);
        Settle(400);
    }
    OpenMenu();
    Key("Escape");
    Settle(600);
    // Neither the access keys nor the menu's Esc reached the album.
    EXPECT_EQ(run.process().state(), QProcess::Running);
    EXPECT_EQ(run.stderrText().count(QLatin1String("turn start")), 0);
    Key("Escape");
    ASSERT_EQ(run.WaitForExit(15000), 0);
    const QByteArray ini = ReadAll(run.settingsFile());
    EXPECT_TRUE(ini.startsWith("[Show]\nLoop=T\nRepeat=T\nFooter=T\n")) << ini.toStdString();
}

TEST_F(MenuE2E, TheFolderCommandOpensTheChosenFolder) {
    AlbumRun run(x);
    StartAlbum(run);
    const QString other = run.albumDir() + QStringLiteral("/../另一个 album");
    QDir().mkpath(other);
    WritePicture(other + QStringLiteral("/z.jpg"), 640, 480, qRgb(40, 160, 200));
    OpenMenu();
    Key("p");
    Settle(1500);
    x.XDoTool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"),
               QFileInfo(other).absoluteFilePath()});
    Key("Return");
    const QImage shot = WaitForBook(qRgb(40, 160, 200));
    EXPECT_LT(Distance(At(shot, 375, 250), qRgb(40, 160, 200)), 30);
    Settle(500);
    // The dialog's Return did not reach the album as a key.
    EXPECT_EQ(run.stderrText().count(QLatin1String("turn start")), 0);
    Key("Escape");
    ASSERT_EQ(run.WaitForExit(15000), 0);
    EXPECT_TRUE(ReadAll(run.settingsFile())
                    .contains("PicturePath=" + QFileInfo(other).absoluteFilePath().toUtf8()));
}

TEST_F(MenuE2E, F1OpensTheGuideInTheEditor) {
    AlbumRun run(x);
    const QString copy = run.appDir() + QStringLiteral("/../guide-copy.txt");
    const QString script = run.appDir() + QStringLiteral("/../editor.sh");
    QFile f(script);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\ncp \"$1\" \"" + copy.toUtf8() + "\"\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    run.env().insert(QStringLiteral("LEAFSONG_EDITOR"), script);
    StartAlbum(run);
    FocusAndPress("F1");
    ASSERT_TRUE(WaitFor([&] { return QFileInfo(copy).size() > 0; }, 10000));
    QFile expected(QStringLiteral(LEAFSONG_TEST_DATA "/menu/ReadMe.expected"));
    ASSERT_TRUE(expected.open(QIODevice::ReadOnly));
    EXPECT_EQ(ReadAll(copy), expected.readAll());
    EXPECT_TRUE(TempFiles(run).contains(QStringLiteral("ReadMe.txt")));
    Key("Escape");
    ASSERT_EQ(run.WaitForExit(15000), 0);
    EXPECT_TRUE(TempFiles(run).isEmpty());
}

}  // namespace
}  // namespace leafsong::e2e
