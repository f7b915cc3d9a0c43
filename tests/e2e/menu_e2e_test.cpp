// The popup menu, the folder dialog and the guide, as a user works them under Xvfb.
#include "e2e/album_fixture.h"

namespace leafsong::e2e {
namespace {

TEST_F(AlbumE2E, MenuKeysSetTheModesTheFolderDialogOpensAFolderAndF1OpensTheGuide) {
    const QRgb page = qRgb(200, 60, 60), paper = qRgb(225, 225, 225);
    root.writePicture(u"album/a.jpg"_s, 900, 600, page);
    const QString other =
        QFileInfo(root.writePicture(u"另一个 album/z.jpg"_s, 1024, 768, paper)).path();
    const QString editor = root.write(u"editor.sh"_s, "#!/bin/sh\ncp \"$1\" \"$0.copy\"\n");
    QFile::setPermissions(editor, QFile::ReadOwner | QFile::ExeOwner);
    env.insert(u"LEAFSONG_EDITOR"_s, editor);
    env.insert(u"QT_LOGGING_RULES"_s, u"leafsong.flip.debug=true"_s);
    env.insert(u"LC_ALL"_s, u"C"_s);  // the original texts, whose access keys and guide follow
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
    // The footer mode is on: "1/1" in red at the page's lower right, proportions kept or not.
    int red = 0;
    for (int y = 440; y < 500; ++y) {
        for (int x0 = 650; x0 < 750; ++x0) {
            const QRgb p = At(x0, y);
            red += qRed(p) > 180 && qGreen(p) < 90 && qBlue(p) < 90;
        }
    }
    EXPECT_GT(red, 20);

    Click(300, 200);
    XDo(u"key F1"_s);
    ASSERT_TRUE(WaitFor([&] { return QFileInfo(editor + u".copy"_s).size() > 0; }));
    EXPECT_EQ(
        test::TempFolder::ReadFile(editor + u".copy"_s),
        test::TempFolder::ReadFile(QStringLiteral(LEAFSONG_TEST_DATA "/menu/ReadMe.expected")));
    EXPECT_TRUE(TempFiles().contains(u"ReadMe.txt"_s));
    // The keys that closed the menu and the dialog came before F1: none of them turned a page.
    EXPECT_EQ(err.count(u"turn start"_s), 0);

    Signal(SIGTERM);
    ASSERT_EQ(WaitForExit(), 0);
    const QByteArray ini = Settings();
    EXPECT_TRUE(ini.startsWith("[Show]\nLoop=T\nRepeat=T\nFooter=T\nProportions=T\n"))
        << ini.toStdString();
    EXPECT_TRUE(ini.contains("PicturePath=" + other.toUtf8())) << ini.toStdString();
    EXPECT_TRUE(TempFiles().isEmpty());
}

}  // namespace
}  // namespace leafsong::e2e
