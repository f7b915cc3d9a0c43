// Profile files, the private temporary folder and its files, and the file dialogs' filters.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "platform/dialogs.h"
#include "platform/profile.h"
#include "platform/short_name.h"
#include "platform/temp_dir.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

using namespace Qt::StringLiterals;

mode_t ModeOf(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST(TempDirTest, MakesAPrivateFolderAndLeavesUnsafeOnesUntouched) {
    const test::TempFolder dir;
    const QString folder = dir.path(u"临时 folder"_s), link = dir.path(u"link"_s);
    const QString open = dir.path(u"open"_s), file = dir.write(u"file"_s, "not a folder");
    EXPECT_EQ(PrepareTempDir(folder).path, folder + u'/');
    EXPECT_EQ(PrepareTempDir(folder + u'/').path, folder + u'/');  // taken again as it is
    EXPECT_EQ(ModeOf(folder), 0700u);
    ASSERT_TRUE(QFile::link(folder, link) && QDir().mkdir(open));
    ::chmod(QFile::encodeName(open).constData(), 0755);
    QString their = u"/root"_s;  // root's, as an unprivileged user sees it
    if (::geteuid() == 0) {
        ASSERT_TRUE(QDir().mkdir(their = dir.path(u"their"_s)));
        ASSERT_EQ(::chown(QFile::encodeName(their).constData(), 65534, 65534), 0);
    }
    const std::pair<QString, const char*> rows[] = {
        {link, "symbolic link"}, {file, "not a folder"}, {open, "other users"}, {their, "another"}};
    for (const auto& [path, why] : rows) {
        const TempDirResult r = PrepareTempDir(path);
        EXPECT_TRUE(!r.ok() && r.error.contains(QLatin1String(why))) << r.error.toStdString();
    }
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), folder);
    EXPECT_EQ(ModeOf(open), 0755u);
    EXPECT_EQ(dir.read(u"file"_s), "not a folder");
}

TEST(ResToFileTest, WritesOnlyANewFileUnderItsFinalName) {
    const test::TempFolder dir;
    const QString res = u":/qt-project.org/qmessagebox/images/qtlogo-64.png"_s;  // Qt's own
    const QString path = dir.path(u"Border.png"_s), planted = dir.path(u"Cover.png"_s);
    ASSERT_TRUE(ResToFile(res, path));
    EXPECT_EQ(dir.read(u"Border.png"_s), test::TempFolder::ReadFile(res));
    EXPECT_EQ(ModeOf(path), 0600u);
    dir.write(u"Border.png"_s, "the user's own");
    ASSERT_TRUE(QFile::link(dir.path(u"victim"_s), planted));  // points nowhere yet
    EXPECT_FALSE(ResToFile(res, path) || ResToFile(res, planted));
    EXPECT_EQ(dir.read(u"Border.png"_s), "the user's own");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System),
              (QStringList{u"Border.png"_s, u"Cover.png"_s}));
}

TEST(ShortNamesTest, AliasesAreBlankFreeLinksWithTheFilesOwnExtension) {
    const std::pair<const char*, const char*> names[] = {
        {"/m/song.midi", ".MID"}, {"/m/x.m p3", ".M_P"}, {"/m/a.b/noext", ""}, {"/m/a.é+", ".__"}};
    for (const auto& [path, ext] : names) {
        EXPECT_EQ(ShortAliasName(QString::fromUtf8(path)).mid(26).toStdString(), ext);
    }
    const test::TempFolder music, aliases;
    ShortNames shortNames(aliases.path() + u'/');
    const QString song = music.write(u"我的 \"音乐\" it's/生日 快乐.wav"_s, "data");
    const QString alias = shortNames.GetShortName(song);
    EXPECT_TRUE(QRegularExpression(u"/media-[0-9a-f]{20}\\.WAV$"_s).match(alias).hasMatch());
    EXPECT_EQ(QFileInfo(alias).symLinkTarget(), song);
    EXPECT_EQ(shortNames.GetShortName(music.path(u"missing.mp3"_s)), alias);  // the last answer
    EXPECT_NE(shortNames.GetShortName(music.write(u"b.mp3"_s, "b")), alias);
    // RemoveAll takes every alias, those of earlier runs too, and nothing else.
    ASSERT_TRUE(QFile::link(music.path(u"gone.wav"_s), aliases.path(u"media-0123.WAV"_s)));
    aliases.write(u"Border.png"_s, "png"), aliases.write(u"media-notes.txt"_s, "text");
    shortNames.RemoveAll();
    EXPECT_EQ(QDir(aliases.path()).entryList(QDir::Files | QDir::System),
              (QStringList{u"Border.png"_s, u"media-notes.txt"_s}));
    EXPECT_EQ(test::TempFolder::ReadFile(song), "data");
}

TEST(ProfileTest, ReadRules) {
    // Names ignore case; only the first section of a name counts; a value ends at a NUL, loses
    // its trailing blanks and is cut to whole characters of at most 4095 bytes.
    const QByteArray a4094(4094, 'a');
    const std::pair<QByteArray, QByteArray> rows[] = {
        {"[s]\nK=T\n", "T"},
        {"\xEF\xBB\xBF[S]\nk = /a b   \n", "/a b"},
        {"[S]\nk=  \n", kDefaultWord},
        {"[T]\nk=1\n[S]\nj=1\n", kDefaultWord},
        {"[S]\nj=1\n[S]\nk=1\n", kDefaultWord},
        {"[S]\nk=ab\0cd\n"_ba, "ab"},
        {"[S]\r\nj=w\r\nk=v\r\n", "v"},
        {"[S]\nk=v", "v"},
        {"[S]\nk=" + a4094 + QByteArray("春").repeated(9), a4094}};
    for (const auto& [content, want] : rows) {
        EXPECT_EQ(ReadProfileText(content, u"S"_s, u"k"_s).toUtf8(), want) << content.data();
    }
    EXPECT_EQ(ReadProfile(u"/no/such.ini"_s, u"S"_s, u"k"_s), QLatin1String(kDefaultWord));
}

TEST(ProfileTest, WriteRules) {
    const std::pair<QByteArray, QByteArray> rows[] = {
        {"", "[S]\nk=v\n"},
        {"; c\r\n[A]\r\nk=1\r\n[S]\r\nx = 1 \r\nK = 1  \r\ny=2\r\n",
         "; c\r\n[A]\r\nk=1\r\n[S]\r\nx = 1 \r\nk=v\r\ny=2\r\n"},
        {"[S]\nx=1\n\n[T]\ny=2\n", "[S]\nx=1\nk=v\n\n[T]\ny=2\n"},
        {"[T]\ny=2", "[T]\ny=2\n[S]\nk=v\n"},
        {"[B]\n\x01\xFF\0=\0\n[S]\nk=1"_ba, "[B]\n\x01\xFF\0=\0\n[S]\nk=v"_ba}};
    for (const auto& [before, after] : rows) {
        // A line break cannot be stored: it would start a line of its own.
        EXPECT_EQ(WriteProfileText(before, u"S"_s, u"k"_s, u"v\nx=injected"_s), after);
    }
    const test::TempFolder tmp;
    tmp.write(u"d.ini/keep.txt"_s, "keep");
    EXPECT_FALSE(WriteProfile(tmp.path(u"d.ini"_s), u"S"_s, u"k"_s, u"v"_s));
    EXPECT_EQ(tmp.read(u"d.ini/keep.txt"_s), "keep");
}

TEST(DialogsTest, FilterIndexAndNameFilters) {
    const QString music =
        u"WaveAudio Files (*.wav)|*.wav|Sequencer Files (*.mid;*.rmi;*.midi)|*.mid;*.rmi;*.midi|"
        u"CDAudio Files (*.cda)|*.cda|MPEGVideo2 Files (*.wma)|*.wma|"
        u"MPEGVideo Files (*.mp3;*.snd)|*.mp3;*.snd"_s;
    const std::pair<const char*, int> rows[] = {{"wav", 1}, {"MID", 2}, {"midi", 2}, {"mi", 2},
                                                {"cda", 3}, {"wma", 4}, {"mp3", 5},  {"SND", 5},
                                                {"ogg", 1}, {"", 1}};
    for (const auto& [ext, index] : rows) {
        EXPECT_EQ(GetFilterIndex(QLatin1String(ext), music), index) << ext;
    }
    EXPECT_EQ(GetFilterIndex(u"mp3"_s, QString()), 1);
    // Found only in a pattern, (piece + 2) / 2 halves to even: pieces 1 and 3 both give 2.
    EXPECT_EQ(GetFilterIndex(u"a"_s, u"A|*.a|B|*.b"_s), 2);
    EXPECT_EQ(GetFilterIndex(u"b"_s, u"A|*.a|B|*.b"_s), 2);
    const QStringList filters = ToNameFilters(music);
    ASSERT_EQ(filters.size(), 5);
    EXPECT_EQ(filters[1], u"Sequencer Files (*.mid;*.rmi;*.midi) (*.mid *.rmi *.midi)"_s);
    EXPECT_EQ(ToNameFilters(u"A|*.a|B"_s), QStringList{u"A (*.a)"_s});  // a pair needs both
}

}  // namespace
}  // namespace leafsong
