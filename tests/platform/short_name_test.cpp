// Short forms of paths for the media command strings.
#include "platform/short_name.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/path_utils.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

class ShortNameTest : public ::testing::Test {
protected:
    ShortNameTest() {
        QDir().mkpath(aliases.path(QStringLiteral("private")));
        names.SetFolder(aliases.path(QStringLiteral("private")) + u'/');
    }
    test::TempFolder music;
    test::TempFolder aliases;
    ShortNames names;
};

struct ExtensionRow {
    const char* fileName;
    const char* extension;  // of the short form
};

class ShortNameExtension : public ShortNameTest,
                           public ::testing::WithParamInterface<ExtensionRow> {};

TEST_P(ShortNameExtension, IsTheFilesOwnCutAndUpperCased) {
    const QString path = music.write(QString::fromUtf8(GetParam().fileName), "data");
    const QString alias = names.GetShortName(path);
    ASSERT_FALSE(alias.isEmpty());
    EXPECT_EQ(GetExtName(GetFileName(alias)), QString::fromUtf8(GetParam().extension));
    EXPECT_FALSE(alias.contains(u' '));
    EXPECT_TRUE(alias.startsWith(names.folder()));
    EXPECT_EQ(QFileInfo(alias).symLinkTarget(), QFileInfo(path).absoluteFilePath());
}

INSTANTIATE_TEST_SUITE_P(
    Table, ShortNameExtension,
    ::testing::Values(ExtensionRow{"song.midi", "MID"}, ExtensionRow{"song.mid", "MID"},
                      ExtensionRow{"song.Mp3", "MP3"}, ExtensionRow{"a tune.wav", "WAV"},
                      ExtensionRow{"x.rm", "RM"}, ExtensionRow{"x.ra", "RA"},
                      ExtensionRow{"x.mpeg", "MPE"}, ExtensionRow{"x.aiff", "AIF"},
                      ExtensionRow{"x.y.wma", "WMA"}, ExtensionRow{"x.m p3", "M_P"},
                      ExtensionRow{"曲子.音乐", "__"}));

TEST_F(ShortNameTest, BlanksQuotesAndChineseLeaveNoTrace) {
    const QString path =
        music.write(QStringLiteral("我的 \"音乐\" it's/生日 快乐 \"歌\".midi"), "MThd");
    const QString alias = names.GetShortName(path);
    EXPECT_TRUE(alias.endsWith(QStringLiteral(".MID")));
    const QString name = GetFileName(alias);
    for (QChar c : name) {
        EXPECT_TRUE(c.isLetterOrNumber() || c == u'.' || c == u'-') << name.toStdString();
        EXPECT_LT(c.unicode(), 128) << name.toStdString();
    }
    QFile f(alias);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("MThd"));
}

TEST_F(ShortNameTest, SamePathSameAliasOtherPathOther) {
    const QString a = music.write(QStringLiteral("a.mp3"), "a");
    const QString b = music.write(QStringLiteral("b.mp3"), "b");
    const QString first = names.GetShortName(a);
    EXPECT_EQ(names.GetShortName(a), first);
    EXPECT_NE(names.GetShortName(b), first);
    // A stale link of the same name is replaced.
    QFile::remove(first);
    ASSERT_TRUE(QFile::link(b, first));
    EXPECT_EQ(names.GetShortName(a), first);
    EXPECT_EQ(QFileInfo(first).symLinkTarget(), QFileInfo(a).absoluteFilePath());
}

TEST_F(ShortNameTest, WithoutAnAliasTheLastAnswerStands) {
    EXPECT_EQ(names.GetShortName(music.path(QStringLiteral("missing.mp3"))), QString());
    const QString song = music.write(QStringLiteral("song.wav"), "RIFF");
    const QString alias = names.GetShortName(song);
    ASSERT_FALSE(alias.isEmpty());
    EXPECT_EQ(names.GetShortName(music.path(QStringLiteral("missing.mp3"))), alias);
    EXPECT_EQ(names.GetShortName(music.path()), alias);  // a folder
    EXPECT_EQ(names.GetShortName(QString()), alias);
    ShortNames nowhere;
    EXPECT_EQ(nowhere.GetShortName(song), QString());
    ShortNames closed(aliases.path(QStringLiteral("no such folder/")));
    EXPECT_EQ(closed.GetShortName(song), QString());
}

TEST_F(ShortNameTest, RemoveAllTakesOnlyAliases) {
    const QString a = names.GetShortName(music.write(QStringLiteral("a.mp3"), "a"));
    const QString b = names.GetShortName(music.write(QStringLiteral("b.midi"), "b"));
    // One left by an earlier run, its file gone since.
    const QString stale = names.folder() + QStringLiteral("media-0123456789abcdef0123.WAV");
    ASSERT_TRUE(QFile::link(music.path(QStringLiteral("gone.wav")), stale));
    const QString own = aliases.write(QStringLiteral("private/Border.png"), "png");
    const QString lookalike = aliases.write(QStringLiteral("private/media-notes.txt"), "text");
    names.RemoveAll();
    for (const QString& gone : {a, b, stale}) {
        EXPECT_FALSE(QFileInfo(gone).isSymLink()) << gone.toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(own));
    EXPECT_TRUE(QFileInfo::exists(lookalike));
    EXPECT_TRUE(QFileInfo::exists(music.path(QStringLiteral("a.mp3"))));
}

}  // namespace
}  // namespace leafsong
