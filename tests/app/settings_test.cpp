#include "app/settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

#include "platform/profile.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

using test::TempFolder;

const QString kDefault = QString::fromLatin1(kDefaultWord);

// Sets an environment variable for one test and puts the old value back.
class EnvGuard {
public:
    EnvGuard(const char* name, std::optional<QByteArray> value) : name_(name) {
        if (qEnvironmentVariableIsSet(name)) {
            old_ = qgetenv(name);
        }
        Set(value);
    }
    ~EnvGuard() { Set(old_); }
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

private:
    void Set(const std::optional<QByteArray>& v) {
        if (v) {
            qputenv(name_, *v);
        } else {
            qunsetenv(name_);
        }
    }
    const char* name_;
    std::optional<QByteArray> old_;
};

struct Saved {
    bool loop, repeat, footer;
    QString music, path;
};

void Apply(const Saved& s, Modes& modes, AlbumState& state) {
    modes.SetLoop(s.loop);
    modes.SetRepeat(s.repeat);
    modes.SetFooter(s.footer);
    state.BackGroundMusic = s.music;
    state.PicturePath = s.path;
}

TEST(Settings, WrittenFromScratch) {
    TempFolder tmp;
    const QString file = tmp.path(QStringLiteral("Leafsong.ini"));
    Modes modes;
    AlbumState state;
    Apply({false, false, false, kDefault, QStringLiteral("/some/folder")}, modes, state);
    ASSERT_TRUE(SaveSettings(file, modes, state));
    EXPECT_EQ(tmp.read(QStringLiteral("Leafsong.ini")),
              QByteArray("[Show]\nLoop=F\nRepeat=F\nFooter=F\n[Pointer]\n"
                         "BackGroundMusic=Harrowfen\nPicturePath=/some/folder\n"));
}

class SettingsRoundTrip : public ::testing::TestWithParam<Saved> {};

TEST_P(SettingsRoundTrip, ReadsBackWhatWasSaved) {
    const Saved& s = GetParam();
    TempFolder tmp;
    const QString file = tmp.path(QStringLiteral("Leafsong.ini"));
    {
        Modes modes;
        AlbumState state;
        Apply(s, modes, state);
        ASSERT_TRUE(SaveSettings(file, modes, state));
    }
    Modes modes;
    AlbumState state;
    // Start from the opposite marks so that a load that leaves them alone is caught.
    Apply({!s.loop, !s.repeat, !s.footer, QStringLiteral("x"), QStringLiteral("y")}, modes, state);
    LoadSettings(file, modes, state);
    EXPECT_EQ(modes.Loop(), s.loop);
    EXPECT_EQ(modes.Repeat(), s.repeat);
    EXPECT_EQ(modes.Footer(), s.footer);
    EXPECT_EQ(modes.tmrRepeat.isActive(), s.repeat);
    EXPECT_EQ(state.BackGroundMusic, s.music);
    EXPECT_EQ(state.PicturePath, s.path);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SettingsRoundTrip,
    ::testing::Values(Saved{false, false, false, kDefault, kDefault},
                      Saved{true, false, false, QStringLiteral("/m/a.mid"), QStringLiteral("/p")},
                      Saved{false, true, false, QStringLiteral("/m/b c.mp3"),
                            QStringLiteral("/p q")},
                      Saved{false, false, true, kDefault, QStringLiteral("/相册/春天")},
                      Saved{true, true, true, QStringLiteral("/音乐/歌.wav"),
                            QStringLiteral("/") + QString(299, u'd')}));

TEST(Settings, OnlyAnExactTTurnsAModeOn) {
    struct Row {
        const char* word;
        bool on;
    };
    const Row rows[] = {{"T", true}, {"  T  ", true}, {"t", false}, {"True", false}, {"F", false},
                        {"", false}, {"TT", false},   {"1", false}, {"T\tx", false}};
    for (const Row& r : rows) {
        TempFolder tmp;
        const QByteArray word(r.word);
        const QString file =
            tmp.write(QStringLiteral("Leafsong.ini"),
                      "[Show]\nLoop=" + word + "\nRepeat=" + word + "\nFooter=" + word + "\n");
        Modes modes;
        AlbumState state;
        Apply({!r.on, !r.on, !r.on, {}, {}}, modes, state);
        LoadSettings(file, modes, state);
        EXPECT_EQ(modes.Loop(), r.on) << r.word;
        EXPECT_EQ(modes.Repeat(), r.on) << r.word;
        EXPECT_EQ(modes.Footer(), r.on) << r.word;
        EXPECT_EQ(modes.tmrRepeat.isActive(), r.on) << r.word;
        EXPECT_EQ(state.BackGroundMusic, kDefault);
        EXPECT_EQ(state.PicturePath, kDefault);

        // Saved back as the mark it produced.
        ASSERT_TRUE(SaveSettings(file, modes, state));
        const QByteArray mark = r.on ? "T" : "F";
        EXPECT_EQ(ReadProfile(file, QStringLiteral("Show"), QStringLiteral("Footer")).toUtf8(),
                  mark)
            << r.word;
    }
}

TEST(Settings, MissingFileClearsTheModes) {
    TempFolder tmp;
    Modes modes;
    AlbumState state;
    Apply({true, true, true, QStringLiteral("m"), QStringLiteral("p")}, modes, state);
    LoadSettings(tmp.path(QStringLiteral("none.ini")), modes, state);
    EXPECT_FALSE(modes.Loop());
    EXPECT_FALSE(modes.Repeat());
    EXPECT_FALSE(modes.Footer());
    EXPECT_FALSE(modes.tmrRepeat.isActive());
    EXPECT_EQ(state.BackGroundMusic, kDefault);
    EXPECT_EQ(state.PicturePath, kDefault);
}

TEST(Settings, SavingKeepsEveryOtherLine) {
    TempFolder tmp;
    const QByteArray before =
        "; written by hand\r\n"
        "[Window]\r\n"
        "Left=12\r\n"
        "[show]\r\n"
        "Footer = t\r\n"
        "Speed=3\r\n"
        "\r\n"
        "[Pointer]\n"
        "PicturePath=/old\n"
        "Extra=keep me  \n";
    const QString file = tmp.write(QStringLiteral("Leafsong.ini"), before);
    Modes modes;
    AlbumState state;
    Apply({true, false, true, QStringLiteral("/m.mid"), QStringLiteral("/new")}, modes, state);
    ASSERT_TRUE(SaveSettings(file, modes, state));
    EXPECT_EQ(tmp.read(QStringLiteral("Leafsong.ini")), QByteArray("; written by hand\r\n"
                                                                   "[Window]\r\n"
                                                                   "Left=12\r\n"
                                                                   "[show]\r\n"
                                                                   "Footer=T\r\n"
                                                                   "Speed=3\r\n"
                                                                   "Loop=T\n"
                                                                   "Repeat=F\n"
                                                                   "\r\n"
                                                                   "[Pointer]\n"
                                                                   "PicturePath=/new\n"
                                                                   "Extra=keep me  \n"
                                                                   "BackGroundMusic=/m.mid\n"));
}

TEST(Settings, RefusedWriteChangesNothing) {
    TempFolder tmp;
    const QString dir = tmp.path(QStringLiteral("Leafsong.ini"));
    tmp.write(QStringLiteral("Leafsong.ini/keep.txt"), "x");
    Modes modes;
    AlbumState state;
    EXPECT_FALSE(SaveSettings(dir, modes, state));
    EXPECT_TRUE(QFileInfo(dir).isDir());
    EXPECT_EQ(tmp.read(QStringLiteral("Leafsong.ini/keep.txt")), QByteArray("x"));
}

TEST(SettingsFilePath, BesideTheProgramWhenItsFolderIsWritable) {
    TempFolder tmp;
    EXPECT_EQ(SettingsFilePath(tmp.path()), tmp.path() + QStringLiteral("/Leafsong.ini"));
}

TEST(SettingsFilePath, FallsBackToTheConfigFolder) {
    TempFolder tmp;
    // A folder that does not exist cannot be written, even by root.
    const QString gone = tmp.path(QStringLiteral("gone"));
    const QString config = tmp.path(QStringLiteral("config"));
    const QString home = tmp.path(QStringLiteral("home"));
    EnvGuard homeGuard("HOME", home.toUtf8());
    {
        EnvGuard xdg("XDG_CONFIG_HOME", config.toUtf8());
        EXPECT_EQ(SettingsFilePath(gone), config + QStringLiteral("/leafsong/Leafsong.ini"));
    }
    for (const std::optional<QByteArray>& unusable :
         {std::optional<QByteArray>(), std::optional<QByteArray>(""),
          std::optional<QByteArray>("relative/dir")}) {
        EnvGuard xdg("XDG_CONFIG_HOME", unusable);
        EXPECT_EQ(SettingsFilePath(gone), home + QStringLiteral("/.config/leafsong/Leafsong.ini"));
    }
}

TEST(SettingsFilePath, FallsBackWhenTheProgramsFolderIsReadOnly) {
    TempFolder tmp;
    const QString exeDir = tmp.path(QStringLiteral("bin"));
    ASSERT_TRUE(QDir().mkpath(exeDir));
    ASSERT_TRUE(QFile::setPermissions(exeDir, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const bool refused = ::access(QFile::encodeName(exeDir).constData(), W_OK) != 0;
    if (!refused) {
        QFile::setPermissions(
            exeDir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        GTEST_SKIP() << "running as root: a read-only folder is still writable here";
    }
    const QString config = tmp.path(QStringLiteral("config"));
    EnvGuard xdg("XDG_CONFIG_HOME", config.toUtf8());
    const QString file = SettingsFilePath(exeDir);
    EXPECT_EQ(file, config + QStringLiteral("/leafsong/Leafsong.ini"));

    // The fallback folder is made when the settings are first saved.
    Modes modes;
    AlbumState state;
    modes.SetFooter(true);
    EXPECT_TRUE(SaveSettings(file, modes, state));
    EXPECT_EQ(ReadProfile(file, QStringLiteral("Show"), QStringLiteral("Footer")),
              QStringLiteral("T"));
    QFile::setPermissions(exeDir,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST(Settings, SavingMakesTheConfigFolder) {
    TempFolder tmp;
    const QString file = tmp.path(QStringLiteral("config/leafsong/Leafsong.ini"));
    Modes modes;
    AlbumState state;
    modes.SetLoop(true);
    ASSERT_TRUE(SaveSettings(file, modes, state));
    EXPECT_EQ(ReadProfile(file, QStringLiteral("Show"), QStringLiteral("Loop")),
              QStringLiteral("T"));
}

}  // namespace
}  // namespace leafsong
