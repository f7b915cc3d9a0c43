#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "menu/album_menu.h"
#include "menu/dialogs.h"
#include "menu/folder_choice.h"
#include "menu/help.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

const QString kMusicFilter = QStringLiteral(
    "WaveAudio Files (*.wav)|*.wav|Sequencer Files (*.mid;*.rmi;*.midi)|*.mid;*.rmi;*.midi|"
    "CDAudio Files (*.cda)|*.cda|MPEGVideo2 Files (*.wma)|*.wma|"
    "MPEGVideo Files (*.mp3;*.snd)|*.mp3;*.snd");

TEST(DialogsTest, GetFilterIndex) {
    const std::pair<const char*, int> rows[] = {
        {"wav", 1}, {"MID", 2}, {"midi", 2}, {"rmi", 2}, {"cda", 3}, {"wma", 4},      {"mp3", 5},
        {"SND", 5}, {"ogg", 1}, {"", 1},     {"mi", 2},  {"Mp3", 5}, {"Harrowfen", 1}};
    for (const auto& [ext, index] : rows) {
        EXPECT_EQ(GetFilterIndex(QString::fromLatin1(ext), kMusicFilter), index) << ext;
    }
    EXPECT_EQ(GetFilterIndex(QStringLiteral("mp3"), QString()), 1);
    // A pattern found only in a pattern part counts for its pair.
    EXPECT_EQ(GetFilterIndex(QStringLiteral("png"), QStringLiteral("A|*.jpg|B|*.png")), 2);
}

TEST(DialogsTest, FiltersBecomeQtNameFilters) {
    EXPECT_EQ(
        ToNameFilters(kMusicFilter),
        (QStringList{QStringLiteral("WaveAudio Files (*.wav) (*.wav)"),
                     QStringLiteral("Sequencer Files (*.mid;*.rmi;*.midi) (*.mid *.rmi *.midi)"),
                     QStringLiteral("CDAudio Files (*.cda) (*.cda)"),
                     QStringLiteral("MPEGVideo2 Files (*.wma) (*.wma)"),
                     QStringLiteral("MPEGVideo Files (*.mp3;*.snd) (*.mp3 *.snd)")}));
    EXPECT_TRUE(ToNameFilters(QString()).isEmpty());
    EXPECT_EQ(ToNameFilters(QStringLiteral("Odd|*.a|Dangling")),
              QStringList{QStringLiteral("Odd (*.a)")});
}

TEST(MenuTest, ItemsCaptionsAndChecks) {
    Modes modes;
    int pictures = 0, music = 0, help = 0, exits = 0;
    AlbumMenu menu(modes, MenuHandlers{[&] { ++pictures; }, [&] { ++music; }, [&] { ++help; },
                                       [&] { ++exits; }});
    QStringList captions;
    for (QAction* a : menu.mnuAlbum().actions()) {
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
        EXPECT_TRUE(a->shortcut().isEmpty());
    }
    EXPECT_EQ(
        captions,
        (QStringList{QStringLiteral("选择图片文件夹(&P)"), QStringLiteral("选择背景音乐(&M)"),
                     QStringLiteral("-"), QStringLiteral("图片循环模式(&L)"),
                     QStringLiteral("音乐循环模式(&R)"), QStringLiteral("-"),
                     QStringLiteral("显示页序(&F)"), QStringLiteral("-"),
                     QStringLiteral("帮助(&H)"), QStringLiteral("-"), QStringLiteral("退出(&x)")}));
    EXPECT_EQ(menu.mnuAlbum().title(), QStringLiteral("相册(&)"));
    EXPECT_FALSE(menu.frmMenu()->isVisible());

    const QList<QAction*> items = menu.mnuAlbum().actions();
    items[0]->trigger();
    items[1]->trigger();
    items[8]->trigger();
    items[10]->trigger();
    EXPECT_EQ((std::array{pictures, music, help, exits}), (std::array{1, 1, 1, 1}));

    // The check items are the modes; the repeat timer follows its mark.
    items[3]->trigger();
    EXPECT_TRUE(modes.Loop());
    items[4]->trigger();
    EXPECT_TRUE(modes.Repeat());
    EXPECT_TRUE(modes.tmrRepeat.isActive());
    items[4]->trigger();
    EXPECT_FALSE(modes.tmrRepeat.isActive());
    items[6]->trigger();
    EXPECT_TRUE(modes.Footer());
    items[3]->trigger();
    EXPECT_FALSE(modes.Loop());
}

class FakeDialogs final : public Dialogs {
public:
    QString BrowseFolder(QWidget*, const QString& title) override {
        titles << title;
        return answer;
    }
    QString FileDialog(QWidget*, int, const QString&, const QString&, const QString&,
                       const QString&, const QString&, int) override {
        return answer;
    }
    QString answer;
    QStringList titles;
};

TEST(FolderChoiceTest, AChosenFolderBecomesTheAlbum) {
    test::TempFolder dir;
    dir.writePicture(QStringLiteral("pics/a.jpg"), 10, 10);
    FakeDialogs dialogs;
    AlbumState state;
    state.PicturePath = QStringLiteral("/old");
    Listing File1;
    int layouts = 0;
    const auto layOut = [&] { ++layouts; };

    mnuPicture_Click(dialogs, nullptr, state, File1, layOut);  // cancelled
    EXPECT_EQ(state.PicturePath, QStringLiteral("/old"));
    EXPECT_EQ(layouts, 0);
    EXPECT_EQ(dialogs.titles, QStringList{QStringLiteral("选择图片文件夹：")});

    dialogs.answer = dir.path(QStringLiteral("pics"));
    mnuPicture_Click(dialogs, nullptr, state, File1, layOut);
    EXPECT_EQ(state.PicturePath, dialogs.answer);
    EXPECT_EQ(File1.ListCount(), 1);
    EXPECT_EQ(layouts, 1);

    dialogs.answer = QStringLiteral("/");
    mnuPicture_Click(dialogs, nullptr, state, File1, layOut);
    EXPECT_EQ(File1.FullPath(0).left(1), QStringLiteral("/"));
    EXPECT_FALSE(File1.FullPath(0).startsWith(QLatin1String("//")));
}

class FakeEditor final : public EditorLauncher {
public:
    void Open(const QString& file) override {
        opened << file;
        contents << test::TempFolder::ReadFile(file);
    }
    QStringList opened;
    QList<QByteArray> contents;
};

QByteArray Expected() {
    QFile f(QStringLiteral(LEAFSONG_TEST_DATA "/menu/ReadMe.expected"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

TEST(HelpTest, TheGuideIsExactlyTheExpectedBytes) {
    const QByteArray bytes = ReadmeText();
    EXPECT_EQ(bytes, Expected());
    EXPECT_EQ(bytes.count("\r\n"), 30);
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
}

TEST(HelpTest, WrittenFreshIntoThePrivateFolderAndRemovedAtTheEnd) {
    test::TempFolder temp, program;
    // A user's own guide beside the program is never touched.
    program.write(QStringLiteral("ReadMe.txt"), "mine");
    FakeEditor editor;
    HelpText help(temp.path(), program.path(), editor);
    QDir::setCurrent(temp.path());
    for (int i = 0; i < 10; ++i) {
        help.ShowReadme();
    }
    EXPECT_EQ(QDir::currentPath(), program.path());
    ASSERT_EQ(editor.opened.size(), 10);
    EXPECT_EQ(editor.opened[0], temp.path(QStringLiteral("ReadMe.txt")));
    for (const QByteArray& c : editor.contents) {
        EXPECT_EQ(c, Expected()) << "replaced, never appended to";
    }
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files), QStringList{QStringLiteral("ReadMe.txt")});
    help.Remove();
    EXPECT_TRUE(QDir(temp.path()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(program.read(QStringLiteral("ReadMe.txt")), QByteArray("mine"));
}

TEST(HelpTest, AMissingEditorIsQuiet) {
    test::TempFolder temp;
    qputenv("LEAFSONG_EDITOR", temp.path(QStringLiteral("no-such-editor")).toUtf8());
    DesktopEditor editor;
    HelpText help(temp.path(), temp.path(), editor);
    help.ShowReadme();
    EXPECT_TRUE(QFile::exists(help.file()));
    help.Remove();
    EXPECT_FALSE(QFile::exists(help.file()));
    qunsetenv("LEAFSONG_EDITOR");
}

}  // namespace
}  // namespace leafsong
