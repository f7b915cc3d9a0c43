#include "app/settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "platform/profile.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

TEST(Settings, WrittenFromScratchAndReadBack) {
    const test::TempFolder tmp;
    const QString file = tmp.path(QStringLiteral("Leafsong.ini"));
    Modes modes;
    AlbumState state;
    state.BackGroundMusic = QLatin1String(kDefaultWord);
    state.PicturePath = QStringLiteral("/some/folder");
    ASSERT_TRUE(SaveSettings(file, modes, state));
    EXPECT_EQ(tmp.read(QStringLiteral("Leafsong.ini")),
              "[Show]\nLoop=F\nRepeat=F\nFooter=F\n[Pointer]\nBackGroundMusic=Harrowfen\n"
              "PicturePath=/some/folder\n");

    const QString longPath = QStringLiteral("/") + QString(299, u'd');
    state.PicturePath = longPath;
    ASSERT_TRUE(SaveSettings(file, modes, state));
    state.PicturePath.clear();
    LoadSettings(file, modes, state);
    EXPECT_EQ(state.PicturePath, longPath);
}

TEST(Settings, OnlyAnExactTTurnsAModeOn) {
    for (const auto& [word, on] : {std::pair{"T", true}, {"t", false}, {"F", false}}) {
        const test::TempFolder tmp;
        const QString file =
            tmp.write(QStringLiteral("Leafsong.ini"),
                      QByteArray("[Show]\nLoop=W\nRepeat=W\nFooter=W\n").replace('W', word));
        Modes modes;
        AlbumState state;
        modes.SetRepeat(!on);
        LoadSettings(file, modes, state);
        const int n = modes.Loop() + modes.Repeat() + modes.Footer() + modes.tmrRepeat.isActive();
        EXPECT_EQ(n, on ? 4 : 0) << word << ": modes and repeat timer on";
        ASSERT_TRUE(SaveSettings(file, modes, state));
        EXPECT_EQ(ReadProfile(file, QStringLiteral("Show"), QStringLiteral("Loop")),
                  on ? QStringLiteral("T") : QStringLiteral("F"));
    }
}

TEST(Settings, SavingKeepsEveryOtherLine) {
    const test::TempFolder tmp;
    const QString file =
        tmp.write(QStringLiteral("Leafsong.ini"),
                  "; mine\r\n[show]\r\nFooter = t\r\nSpeed=3\r\n[Pointer]\nX=1 \n");
    Modes modes;
    AlbumState state;
    modes.SetFooter(true);
    state.BackGroundMusic = QStringLiteral("/m.mid");
    state.PicturePath = QStringLiteral("/p");
    ASSERT_TRUE(SaveSettings(file, modes, state));
    EXPECT_EQ(tmp.read(QStringLiteral("Leafsong.ini")),
              "; mine\r\n[show]\r\nFooter=T\r\nSpeed=3\r\nLoop=F\nRepeat=F\n[Pointer]\nX=1 \n"
              "BackGroundMusic=/m.mid\nPicturePath=/p\n");
}

TEST(Settings, FallsBackWhenTheProgramsFolderCannotBeWritten) {
    const test::TempFolder tmp;
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");  // unset and empty mean the same
    qputenv("XDG_CONFIG_HOME", tmp.path(QStringLiteral("config")).toUtf8());
    const QString fallback = tmp.path(QStringLiteral("config/leafsong/Leafsong.ini"));
    const QString bin = tmp.path(QStringLiteral("bin"));
    EXPECT_EQ(SettingsFilePath(tmp.path()), tmp.path(QStringLiteral("Leafsong.ini")));
    EXPECT_EQ(SettingsFilePath(bin), fallback) << "a missing folder cannot be written";
    ASSERT_TRUE(QDir().mkpath(bin));
    ASSERT_TRUE(QFile::setPermissions(bin, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const bool root = ::access(QFile::encodeName(bin).constData(), W_OK) == 0;
    const QString got = SettingsFilePath(bin);
    QFile::setPermissions(bin, QFile::permissions(bin) | QFileDevice::WriteOwner);
    qputenv("XDG_CONFIG_HOME", oldConfig);
    if (root) {
        GTEST_SKIP() << "running as root: a read-only folder is still writable";
    }
    EXPECT_EQ(got, fallback);
}

}  // namespace
}  // namespace leafsong
