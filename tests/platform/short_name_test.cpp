#include "platform/short_name.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "support/temp_folder.h"

namespace leafsong {
namespace {

using namespace Qt::StringLiterals;

TEST(ShortNameTest, AliasesAreBlankFreeLinksWithTheFilesOwnExtension) {
    test::TempFolder music, aliases;
    ShortNames names(aliases.path() + u'/');
    const QString link = u"^"_s + QRegularExpression::escape(names.folder()) + u"media-[0-9a-f]+"_s;
    for (const QString& row :
         u"song.midi .MID|song.Mp3 .MP3|x.rm .RM|x.mpeg .MPE|x.y.wma .WMA|"
         u"x.m p3 .M_P|曲子.音乐 .__|我的 \"音乐\" it's/生日 快乐.wav .WAV"_s.split(u'|')) {
        const QString path = music.write(row.section(u' ', 0, -2), "data");
        const QString alias = names.GetShortName(path);
        const QRegularExpression re(link + QRegularExpression::escape(row.section(u' ', -1)) +
                                    u'$');
        EXPECT_TRUE(re.match(alias).hasMatch()) << alias.toStdString();
        EXPECT_EQ(QFileInfo(alias).symLinkTarget(), path);
        EXPECT_EQ(test::TempFolder::ReadFile(alias), "data");
    }
    const QString a = music.write(u"a.mp3"_s, "a"), first = names.GetShortName(a);
    EXPECT_EQ(names.GetShortName(a), first);
    const QString b = names.GetShortName(music.write(u"b.mp3"_s, "b"));
    EXPECT_NE(b, first);
    // Without an alias, the previous answer stands.
    EXPECT_EQ(names.GetShortName(music.path(u"missing.mp3"_s)), b);
    EXPECT_EQ(names.GetShortName(music.path()), b);
    EXPECT_EQ(ShortNames().GetShortName(a), QString());
    EXPECT_EQ(ShortNames(aliases.path(u"no such/"_s)).GetShortName(a), QString());
    // RemoveAll takes every alias, those of earlier runs too, and nothing else.
    const QString stale = names.folder() + u"media-0123456789abcdef.WAV"_s;
    ASSERT_TRUE(QFile::link(music.path(u"gone.wav"_s), stale));
    aliases.write(u"Border.png"_s, "png"), aliases.write(u"media-notes.txt"_s, "text");
    names.RemoveAll();
    EXPECT_EQ(QDir(names.folder()).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot),
              (QStringList{u"Border.png"_s, u"media-notes.txt"_s}));
    EXPECT_TRUE(QFileInfo::exists(a));
}

}  // namespace
}  // namespace leafsong
