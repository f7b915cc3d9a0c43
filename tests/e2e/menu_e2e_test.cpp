// The popup menu and the folder dialog, as a user works them under Xvfb.
#include "e2e/album_fixture.h"

namespace leafsong::e2e {
namespace {

TEST_F(AlbumE2E, MenuKeysSetTheModesAndTheFolderDialogOpensAFolder) {
    const QRgb page = qRgb(200, 60, 60), paper = qRgb(225, 225, 225);
    root.writePicture(u"album/a.jpg"_s, 900, 600, page);
    const QString other =
        QFileInfo(root.writePicture(u"另一个 album/z.jpg"_s, 1024, 768, paper)).path();
    env.insert(u"QT_LOGGING_RULES"_s, u"leafsong.flip.debug=true"_s);
    env.insert(u"LC_ALL"_s, u"C"_s);  // the original texts, whose access keys follow
    Start({Album()});
    ASSERT_TRUE(WaitForBook(page)) << err.toStdString();

    // The menu opens right of and below a right click, over the page.
    const QPoint menu(240, 162);
    auto pick = [&](const QString& key) {
        Click(menu.x() - 40, menu.y() - 12, u"3"_s);
        const bool shown = WaitForShot([&] { return Distance(At(menu.x(), menu.y()), page) > 60; });
        XDo({u"key"_s, key});
        return shown;
    };
    for (const QString& key : {u"l"_s, u"r"_s, u"f"_s, u"k"_s, u"Escape"_s}) {
        ASSERT_TRUE(pick(key) && WaitForBook(page, menu)) << "menu and " << key.toStdString();
    }

    // The dialog is the visible window besides the album's (its title is unsearchable under
    // LANG=C). xdotool binds each Chinese character to a spare key for an instant; under load the
    // dialog may miss one, then stays open or warns in a second window: type the path again.
    const QString album = XDo(u"search --onlyvisible --name Leafsong"_s);
    const QString visible = u"search --onlyvisible --name ."_s;
    auto dialogs = [&] { return XDo(visible).remove(album).count(u'\n'); };
    ASSERT_TRUE(pick(u"p"_s) && WaitFor([&] { return dialogs() == 1; }));
    for (int typed = 0; typed < 8 && WaitFor([&] { return dialogs() < 2; }) && dialogs() == 1;
         ++typed) {
        XDo(u"windowfocus --sync "_s + XDo(visible).remove(album).trimmed());
        XDo({u"key"_s, u"ctrl+a"_s, u"type"_s, u"--delay"_s, u"20"_s, other});
        XDo(u"key Return"_s);
        if (WaitFor([&] { return dialogs() != 1; }, 10000) && dialogs() == 2) {
            XDo(u"key Return"_s);
        }
    }
    ASSERT_TRUE(WaitForBook(paper)) << err.toStdString();

    Signal(SIGTERM);
    ASSERT_EQ(WaitForExit(), 0);
    // The keys that closed the menu and the dialog turned no page.
    EXPECT_EQ(err.count(u"turn start"_s), 0);
    const QByteArray ini = Settings();
    EXPECT_TRUE(ini.startsWith("[Show]\nLoop=T\nRepeat=T\nFooter=T\nProportions=T\n"))
        << ini.toStdString();
    EXPECT_TRUE(ini.contains("PicturePath=" + other.toUtf8())) << ini.toStdString();
    EXPECT_TRUE(TempFiles().isEmpty());
}

}  // namespace
}  // namespace leafsong::e2e
