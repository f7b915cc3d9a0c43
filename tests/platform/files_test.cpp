// Profile files, the private temporary folder and its files, the single-instance lock, and the
// file dialogs' filters.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <optional>

#include "platform/dialogs.h"
#include "platform/instance_lock.h"
#include "platform/profile.h"
#include "platform/short_name.h"
#include "platform/temp_dir.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

using namespace Qt::StringLiterals;
constexpr auto ModeOf = &test::TempFolder::ModeOf;

// Takes the owner's own bits and none of the others': modes must come out right either way.
constexpr mode_t kTightUmask = 0277;

// Another user's path: made by root for nobody, or root's own as nobody sees it.
QString TheirFolder(const test::TempFolder& dir, const QString& name) {
    if (::geteuid() != 0) {
        return u"/root"_s;
    }
    const QString file = dir.write(name + u"/Border.png"_s, "theirs"), their = file.chopped(11);
    for (const QString& path : {file, their}) {
        if (::chown(QFile::encodeName(path).constData(), 65534, 65534) != 0) {
            return {};
        }
    }
    return their;
}

TEST(TempDirTest, TakesAPrivateFolderAndLeavesUnsafeOnesUntouched) {
    const test::TempFolder dir;
    const QString folder = dir.path(u"临时 \"folder\""_s), link = dir.path(u"link"_s);
    const QString open = dir.path(u"open"_s), file = dir.write(u"file"_s, "not a folder");
    const mode_t umask = ::umask(kTightUmask);
    TempDir taken;
    EXPECT_EQ(taken.UseFolder(folder, {}), u""_s);
    ::umask(umask);
    EXPECT_EQ(std::pair(taken.path(), ModeOf(folder)), std::pair(folder + u'/', 0700u));
    ASSERT_TRUE(QFile::link(folder, link) && QDir().mkdir(open));
    ::chmod(QFile::encodeName(open).constData(), 0755);
    const std::pair<QString, const char*> rows[] = {{link, "symbolic link"},
                                                    {file, "not a folder"},
                                                    {open, "other users"},
                                                    {TheirFolder(dir, u"their"_s), "another"}};
    for (const auto& [path, why] : rows) {
        TempDir refused;
        const QString error = refused.UseFolder(path, {u"*"_s});
        EXPECT_TRUE(error.contains(QLatin1String(why)) && refused.path().isEmpty())
            << error.toStdString();
    }
    EXPECT_EQ(std::pair(QFileInfo(link).symLinkTarget(), ModeOf(open)), std::pair(folder, 0755u));
    EXPECT_EQ(dir.read(u"file"_s), "not a folder");
}

TEST(TempDirTest, AKilledRunsFilesGoUnlessARunningAlbumHoldsTheFolder) {
    const test::TempFolder dir;
    const QStringList ours{u"Border.png"_s, u"media-*"_s, u"*.part-*"_s};
    const QString victim = dir.write(u"victim.wav"_s, "keep"), folder = dir.path(u"f"_s);
    for (const QString& name : {u"Border.png"_s, u"a.png.part-1"_s, u"notes.txt"_s}) {
        dir.write(u"f/"_s + name, "x");
    }
    ASSERT_TRUE(QFile::link(victim, dir.path(u"f/media-1.WAV"_s)));
    ::chmod(QFile::encodeName(folder).constData(), 0700);
    const QStringList all = QDir(folder).entryList(QDir::Files | QDir::System, QDir::Name);
    std::optional<TempDir> running(std::in_place), later(std::in_place);
    ASSERT_EQ(running->UseFolder(folder, {}), u""_s);
    ASSERT_EQ(later->UseFolder(folder, ours), u""_s);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::System, QDir::Name), all);
    running->Close(), later.emplace();  // not empty: the folder stays
    ASSERT_EQ(later->UseFolder(folder, ours), u""_s);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::System), QStringList{u"notes.txt"_s});
    EXPECT_EQ(dir.read(u"victim.wav"_s), "keep");
}

TEST(TempDirTest, FreshFoldersAreNewEachRunAndStaleOnesOfThisUserAreSwept) {
    const test::TempFolder tmp;
    const QString prefix = u"leafsong-%1-"_s.arg(::geteuid());
    tmp.write(prefix + u"stale1/Border.png"_s, "old");
    tmp.write(prefix + u"stale2/notes.txt"_s, "the user's");  // not the album's: kept
    ASSERT_TRUE(QFile::link(tmp.path(prefix + u"stale2"_s), tmp.path(prefix + u"linked"_s)));
    const QString their = TheirFolder(tmp, prefix + u"theirs"_s);
    const mode_t umask = ::umask(kTightUmask);
    TempDir running, next;
    ASSERT_EQ(running.MakeFresh(tmp.path(), {u"Border.png"_s}), u""_s);
    ::umask(umask);
    const QRegularExpression fresh(u"/%1[A-Za-z0-9]{6}/$"_s.arg(prefix));
    EXPECT_TRUE(fresh.match(running.path()).hasMatch() && ModeOf(running.path()) == 0700u);
    tmp.write(QFileInfo(running.path().chopped(1)).fileName() + u"/Border.png"_s, "in use");
    ASSERT_EQ(next.MakeFresh(tmp.path(), {u"Border.png"_s}), u""_s);
    EXPECT_NE(running.path(), next.path());
    EXPECT_EQ(test::TempFolder::ReadFile(running.path() + u"Border.png"_s), "in use");
    EXPECT_EQ(QDir(tmp.path()).entryList({prefix + u"stale*"_s}, QDir::Dirs),
              QStringList{prefix + u"stale2"_s});
    EXPECT_TRUE(QFileInfo(u"%1/Border.png"_s.arg(their)).exists() || ::geteuid() != 0);
    next.Close();
    EXPECT_FALSE(QFileInfo::exists(next.path()));
}

TEST(InstanceLockTest, OneHolderAtATimeNeverThroughALinkOrAFileNotOurs) {
    const test::TempFolder dir;
    const QString path = dir.path(u"state/leafsong/leafsong.lock"_s);
    std::optional<InstanceLock> first(std::in_place);
    InstanceLock second;
    const mode_t umask = ::umask(kTightUmask);
    EXPECT_EQ(first->TryAcquire(path), InstanceLock::Result::Held);
    ::umask(umask);
    EXPECT_EQ(second.TryAcquire(path), InstanceLock::Result::Taken);
    EXPECT_EQ(std::pair(ModeOf(path), ModeOf(dir.path(u"state"_s))), std::pair(0600u, 0700u));
    ASSERT_TRUE(QFile::link(dir.write(u"victim"_s, "keep"), dir.path(u"link.lock"_s)));
    QDir().mkdir(dir.path(u"folder.lock"_s));
    for (const QString& p : {dir.path(u"link.lock"_s), dir.path(u"folder.lock"_s), u"/dev/null"_s,
                             TheirFolder(dir, u"their"_s) + u"/Border.png"_s}) {
        EXPECT_EQ(InstanceLock().TryAcquire(p), InstanceLock::Result::Unavailable)
            << p.toStdString();
    }
    EXPECT_EQ(dir.read(u"victim"_s), "keep");
    first.reset();  // the holder ends: the kernel lets the lock go
    EXPECT_EQ(second.TryAcquire(path), InstanceLock::Result::Held);
}

TEST(ResToFileTest, WritesOnlyANewFileUnderItsFinalName) {
    const test::TempFolder dir;
    const QString res = u":/qt-project.org/qmessagebox/images/qtlogo-64.png"_s;  // Qt's own
    const QString path = dir.path(u"Border.png"_s), planted = dir.path(u"Cover.png"_s);
    const mode_t umask = ::umask(kTightUmask);
    const bool wrote = ResToFile(res, path);
    ::umask(umask);
    ASSERT_TRUE(wrote);
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
    const QString at = u"private \"folder\" "_s, folder = aliases.path(at);
    ASSERT_TRUE(QDir().mkdir(folder));
    ShortNames shortNames(folder + u'/');
    const QString song = music.write(u"我的 \"音乐\" it's/生日 快乐.wav"_s, "data");
    const QString alias = shortNames.GetShortName(song);
    EXPECT_TRUE(QRegularExpression(u"^/proc/self/fd/[0-9]+/media-[0-9a-f]{20}\\.WAV$"_s)
                    .match(alias)
                    .hasMatch())
        << alias.toStdString();
    EXPECT_EQ(std::pair(QFileInfo(alias).symLinkTarget(), test::TempFolder::ReadFile(alias)),
              std::pair(song, QByteArray("data")));
    EXPECT_EQ(shortNames.GetShortName(music.path(u"missing.mp3"_s)), alias);  // the last answer
    EXPECT_NE(shortNames.GetShortName(music.write(u"b.mp3"_s, "b")), alias);
    // RemoveAll takes every alias, those of earlier runs too, and nothing else.
    ASSERT_TRUE(QFile::link(music.path(u"gone.wav"_s), folder + u"/media-0123.WAV"_s));
    aliases.write(at + u"/Border.png"_s, "png"), aliases.write(at + u"/media-notes.txt"_s, "t");
    shortNames.RemoveAll();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::System),
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
