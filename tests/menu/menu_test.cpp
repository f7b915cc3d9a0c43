#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include "core/texts.h"
#include "menu/album_menu.h"
#include "menu/guide.h"
#include "support/mock_dialogs.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

using namespace Qt::StringLiterals;

const QString kOriginalItems =
    u"相册(&)|选择图片文件夹(&P)|选择背景音乐(&M)|-|图片循环模式(&L)[ ]|音乐循环模式(&R)[x]|-|"
    u"显示页序(&F)[x]|保持比例(&K)[x]|-|帮助(&H)|-|退出(&x)"_s;

struct Face {
    const char* lang;
    QString items;  // the title, then the items with their check marks
    const char* guide;
};

class MenuFaceTest : public testing::TestWithParam<Face> {};

// Each item's access key alone picks it (clashing keys would only select).
TEST_P(MenuFaceTest, ItemsInOrderShowTheModesWhenOpenedAndRunTheirCommandsByAccessKey) {
    const auto texts =
        InstallTexts(ChooseTextLanguage({.lang = QString::fromLatin1(GetParam().lang)}));
    Modes modes{.loop = true};
    QList<Command> ran;
    AlbumMenu menu([&](Command c) { ran << c; }, modes);
    modes = {.repeat = true, .footer = true, .proportions = true};
    emit menu.mnuAlbum().aboutToShow();
    QStringList items{menu.mnuAlbum().title()};
    for (QAction* a : menu.mnuAlbum().actions()) {
        EXPECT_TRUE(a->shortcut().isEmpty()) << a->text().toStdString();
        const QString mark =
            QStringList{u""_s, u"[ ]"_s, u"[x]"_s}[a->isCheckable() + a->isChecked()];
        items << (a->isSeparator() ? u"-"_s : a->text() + mark);
        if (!a->isSeparator()) {
            menu.Popup({});
            QTest::keyClick(&menu.mnuAlbum(), QKeySequence::mnemonic(a->text())[0].key());
        }
    }
    EXPECT_EQ(items.join(u'|').toStdString(), GetParam().items.toStdString());
    EXPECT_EQ(ran, (QList{Command::ChooseFolder, Command::ChooseMusic, Command::ToggleLoop,
                          Command::ToggleRepeat, Command::ToggleFooter, Command::ToggleProportions,
                          Command::ShowGuide, Command::Exit}));
    EXPECT_EQ(ReadmeText(), test::TempFolder::ReadFile(u"" LEAFSONG_TEST_DATA "/menu/"_s +
                                                       QLatin1String(GetParam().guide)));
}

INSTANTIATE_TEST_SUITE_P(
    Locales, MenuFaceTest,
    testing::Values(Face{"zh_CN.UTF-8", kOriginalItems, "ReadMe.expected"},
                    Face{"C.UTF-8", kOriginalItems, "ReadMe.expected"},
                    Face{"en_US.UTF-8",
                         u"Album|Choose picture &folder...|Choose background &music...|-|"
                         u"Picture &loop mode[ ]|Music &repeat mode[x]|-|Show page &numbers[x]|"
                         u"Keep &proportions[x]|-|"
                         u"&Help|-|E&xit"_s,
                         "ReadMe.en.expected"}),
    [](const testing::TestParamInfo<Face>& row) {
        return QString::fromLatin1(row.param.lang).section(u'.', 0, 0).toStdString();
    });

struct RecordingEditor final : EditorLauncher {
    bool Open(const QString& file) override {
        seen << test::TempFolder::ReadFile(file);
        return starts;
    }
    QList<QByteArray> seen;
    bool starts = true;
};

using test::MockDialogs;

// Without an editor, a notice names the guide, which stays until the end.
TEST(GuideTest, TheExpectedBytesWrittenWholeEachTimeElseANoticeAndRemovedAtTheEnd) {
    test::TempFolder temp;
    temp.write(u"ReadMe.txt"_s, QByteArray(5000, 'x'));  // a longer stale copy
    RecordingEditor editor;
    testing::StrictMock<MockDialogs> dialogs;  // no notice while the editor starts
    QWidget owner;
    Guide guide(temp.path(), temp.path(), editor, dialogs, [&] { return &owner; });
    guide.ShowReadme();
    guide.ShowReadme();
    EXPECT_EQ(editor.seen,
              QList<QByteArray>(
                  2, test::TempFolder::ReadFile(u"" LEAFSONG_TEST_DATA "/menu/ReadMe.expected"_s)));
    editor.starts = false;
    QString text;
    EXPECT_CALL(dialogs, Inform(&owner, u"未找到文本编辑器"_s, testing::_))
        .WillOnce(testing::SaveArg<2>(&text));
    guide.ShowReadme();
    for (const QString& part : {guide.file(), u"LEAFSONG_EDITOR=\"gedit\""_s, u"xdg-utils"_s}) {
        EXPECT_TRUE(text.contains(part)) << part.toStdString() << " in " << text.toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(guide.file()));
    guide.Remove();
    EXPECT_TRUE(QDir(temp.path()).isEmpty());
}

}  // namespace
}  // namespace leafsong
