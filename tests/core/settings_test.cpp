#include "core/settings.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstdio>
#include <functional>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/profile.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

using namespace Qt::StringLiterals;

// What run prints on stderr; a pipe, which no file size limit reaches.
QByteArray Stderr(const std::function<void()>& run) {
    std::array<int, 2> pipe{};
    EXPECT_EQ(::pipe(pipe.data()), 0);
    const int saved = ::dup(2);
    ::dup2(pipe[1], 2), ::close(pipe[1]);
    run();
    std::fflush(stderr), ::dup2(saved, 2), ::close(saved);
    QByteArray said(4096, '\0');
    said.resize(std::max<ssize_t>(::read(pipe[0], said.data(), said.size()), 0));
    ::close(pipe[0]);
    return said;
}

TEST(SettingsTest, SavedAmongTheUsersLinesWithUnchangedPathsByteForByte) {
    // A Latin-1 music name and a GBK folder name, which no text can hold.
    const QByteArray paths = "[Pointer]\nBackGroundMusic=/m\xE9lodie.mp3\nPicturePath=";
    const std::tuple<QByteArray, QByteArray, QString> rows[] = {
        {"",
         "[Show]\nLoop=T\nRepeat=F\nFooter=T\nProportions=T\n[Pointer]\nBackGroundMusic=/曲.mid\n"
         "PicturePath=Harrowfen\n",
         u"/曲.mid"_s},
        {"; mine\r\n[show]\r\nFooter = t\r\nProportions=t\r\nLoop=True\r\n[Other]\nX=1 \n" + paths +
             " \xD5\xD5  \n",
         "; mine\r\n[show]\r\nFooter=T\r\nProportions=T\r\nLoop=T\r\nRepeat=F\n[Other]\nX=1 \n" +
             paths + "\xD5\xD5\n",
         {}}};
    for (const auto& [before, after, music] : rows) {
        const test::TempFolder tmp;
        tmp.write(u"Leafsong.ini"_s, before);
        Modes modes{true, true, true, true};
        AlbumState state;
        SettingsFile settings(tmp.path());
        settings.LoadSettings(modes, state);  // only an exact "T" is on
        EXPECT_TRUE(!modes.loop && !modes.repeat && !modes.footer && !modes.proportions)
            << before.data();
        state.BackGroundMusic = music.isEmpty() ? state.BackGroundMusic : music;
        ASSERT_TRUE(settings.SaveSettings(
            {.loop = true, .repeat = false, .footer = true, .proportions = true}, state));
        EXPECT_EQ(tmp.read(u"Leafsong.ini"_s), after);
        AlbumState back;
        SettingsFile(tmp.path()).LoadSettings(modes, back);
        EXPECT_TRUE(modes.loop && !modes.repeat && modes.footer && modes.proportions &&
                    back.PicturePath == state.PicturePath &&
                    back.BackGroundMusic == state.BackGroundMusic);
    }
}

// The guide moves the current directory: a relative path means the program's folder, and it stays
// relative in the file so that a copy of the album on a stick works wherever it is plugged in.
TEST(SettingsTest, RelativePathsAreTheProgramFoldersAndStayRelativeInTheFile) {
    const test::TempFolder tmp;
    const QString exe = tmp.path(u"prog"_s), none = QString::fromLatin1(kDefaultWord);
    const auto ini = [](const QByteArray& music, const QByteArray& folder) {
        return "[Show]\nLoop=F\nRepeat=F\nFooter=F\nProportions=F\n[Pointer]\nBackGroundMusic=" +
               music + "\nPicturePath=" + folder + "\n";
    };
    // Music and folder as stored; as read; the file once saved with neither changed.
    const std::tuple<QByteArray, QByteArray, QString, QString, QByteArray> rows[] = {
        {"../m/a.mp3", "./pics/", tmp.path(u"m/a.mp3"_s), exe + u"/pics"_s,
         ini("../m/a.mp3", "./pics/")},
        {"/m/a.mp3", "/srv/album", u"/m/a.mp3"_s, u"/srv/album"_s, ini("/m/a.mp3", "/srv/album")},
        // An empty value is the default word, which names no path: not the program's folder.
        {"", "", none, none, ini(kDefaultWord, kDefaultWord)},
    };
    for (const auto& [music, folder, musicRead, folderRead, saved] : rows) {
        tmp.write(u"prog/Leafsong.ini"_s, ini(music, folder));
        Modes modes;
        AlbumState state;
        SettingsFile settings(exe);
        settings.LoadSettings(modes, state);
        EXPECT_EQ(std::pair(state.BackGroundMusic, state.PicturePath),
                  std::pair(musicRead, folderRead));
        ASSERT_TRUE(settings.SaveSettings(modes, state));
        EXPECT_EQ(tmp.read(u"prog/Leafsong.ini"_s), saved);
    }
}

TEST(SettingsTest, AFailedWriteLeavesTheFileAsItWasAndSaysWhy) {
    const test::TempFolder tmp;
    const QString file = tmp.write(u"Leafsong.ini"_s, "[Show]\nLoop=t\n");
    SettingsFile settings(tmp.path());
    // A full disk: writes past 8 bytes fail with EFBIG instead of ending the process.
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit full{8, limit.rlim_max};
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    bool saved = true;
    const QByteArray said = Stderr([&] {
        ::setrlimit(RLIMIT_FSIZE, &full);
        saved = settings.SaveSettings({}, {});
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    std::signal(SIGXFSZ, handler);
    EXPECT_FALSE(saved);
    EXPECT_EQ(said,
              "leafsong: cannot save the settings to " + file.toUtf8() + ": File too large\n");
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{u"Leafsong.ini"_s});
    EXPECT_EQ(tmp.read(u"Leafsong.ini"_s), "[Show]\nLoop=t\n");
}

TEST(SettingsTest, ALinkIsWrittenThroughAndAFileItCannotWriteOrTooLargeGoesToTheCopy) {
    const test::TempFolder tmp;
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");  // unset and empty mean the same
    const auto copy = [&](const QString& home) {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(tmp.path(home)));
        return tmp.path(home + u"/leafsong/Leafsong.ini"_s);
    };
    Modes modes;
    AlbumState state;
    tmp.write(u"dots/a.ini"_s, "[Show]\nLoop=T\n"), QDir().mkpath(tmp.path(u"a"_s));
    ASSERT_TRUE(QFile::link(tmp.path(u"dots/a.ini"_s), tmp.path(u"a/Leafsong.ini"_s)));
    SettingsFile(tmp.path(u"a"_s)).LoadSettings(modes, state);
    EXPECT_TRUE(modes.loop && SettingsFile(tmp.path(u"a"_s)).SaveSettings({}, state));
    EXPECT_TRUE(QFileInfo(tmp.path(u"a/Leafsong.ini"_s)).isSymLink());
    EXPECT_TRUE(tmp.read(u"dots/a.ini"_s).startsWith("[Show]\nLoop=F\n"));
    // Over 1 MiB: the file is neither read nor written; the folders made for the copy are private.
    const QString big = tmp.write(u"b/Leafsong.ini"_s, "[Show]\nLoop=T\n"), bigCopy = copy(u"xb"_s);
    ASSERT_TRUE(QFile::resize(big, kMaxProfileSize + 1));  // sparse
    SettingsFile large(tmp.path(u"b"_s));
    EXPECT_EQ(Stderr([&] { large.LoadSettings(modes, state); }),
              "leafsong: " + big.toUtf8() +
                  " is larger than 1 MiB and is left alone; the settings are kept in " +
                  bigCopy.toUtf8() + "\n");
    const mode_t umask = ::umask(0);
    EXPECT_TRUE(!modes.loop && large.SaveSettings({.loop = true}, state));
    ::umask(umask);
    const auto mode = &test::TempFolder::ModeOf;
    EXPECT_EQ(std::tuple(mode(tmp.path(u"xb"_s)), mode(tmp.path(u"xb/leafsong"_s)), mode(bigCopy)),
              std::tuple(0700u, 0700u, 0600u));
    EXPECT_TRUE(QFileInfo(big).size() == kMaxProfileSize + 1 &&
                test::TempFolder::ReadFile(big).startsWith("[Show]\nLoop=T\n"));
    // A read-only folder: its file is read, and the copy carries on from it once it exists.
    const QString copyC = copy(u"xc"_s);
    const QByteArray c = QFile::encodeName(tmp.path(u"c"_s));
    tmp.write(u"c/Leafsong.ini"_s, "; mine\n[Show]\nRepeat=T\n"), ::chmod(c.constData(), 0500);
    SettingsFile readOnly(tmp.path(u"c"_s));
    readOnly.LoadSettings(modes, state);
    const bool saved = readOnly.SaveSettings({.loop = true, .repeat = modes.repeat}, state);
    SettingsFile(tmp.path(u"c"_s)).LoadSettings(modes, state);
    ::chmod(c.constData(), 0700), qputenv("XDG_CONFIG_HOME", oldConfig);
    if (::geteuid() == 0) {
        GTEST_SKIP() << "running as root: a read-only folder is still writable";
    }
    EXPECT_TRUE(saved && modes.loop && modes.repeat);
    EXPECT_TRUE(tmp.read(u"c/Leafsong.ini"_s) == "; mine\n[Show]\nRepeat=T\n" &&
                test::TempFolder::ReadFile(copyC).startsWith("; mine\n[Show]\nRepeat=T\nLoop=T\n"));
}

TEST(PlaceBookTest, CentresWithHalvesToEven) {
    const std::array<int, 4> rows[] = {{1920, 1080, 585, 365}, {1365, 768, 308, 209},
                                       {1367, 768, 308, 209},  {1366, 768, 308, 209},
                                       {1280, 1024, 265, 337}, {1024, 601, 137, 126},
                                       {1024, 603, 137, 126},  {3840, 2160, 1545, 905}};
    for (const auto& [W, H, left, top] : rows) {
        const BookGeometry g = PlaceBook(W, H);
        EXPECT_TRUE(g.rect() == QRect(left, top, 750, 500) && g.LiftBase == 688) << W << "x" << H;
    }
}

}  // namespace
}  // namespace leafsong
