#include "core/settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>

#include <QDir>
#include <QFile>

#include "support/temp_folder.h"

namespace leafsong {
namespace {

using namespace Qt::StringLiterals;

TEST(SettingsTest, SavedAmongTheUsersLinesAndReadBack) {
    const QByteArray paths = "[Pointer]\nBackGroundMusic=/曲.mid\nPicturePath=/p\n";
    const std::pair<QByteArray, QByteArray> rows[] = {
        {"", "[Show]\nLoop=T\nRepeat=F\nFooter=T\n" + paths},
        {"; mine\r\n[show]\r\nFooter = t\r\nLoop=True\r\n[Other]\nX=1 \n",
         "; mine\r\n[show]\r\nFooter=T\r\nLoop=T\r\nRepeat=F\n[Other]\nX=1 \n" + paths}};
    for (const auto& [before, after] : rows) {
        const test::TempFolder tmp;
        const QString file = tmp.write(u"Leafsong.ini"_s, before);
        Modes modes{true, true, true};
        AlbumState state;
        LoadSettings(file, modes, state);  // only an exact "T" is on
        EXPECT_TRUE(!modes.loop && !modes.repeat && !modes.footer) << before.data();
        EXPECT_EQ(state.PicturePath, u"Harrowfen"_s);
        state.BackGroundMusic = u"/曲.mid"_s, state.PicturePath = u"/p"_s;
        ASSERT_TRUE(SaveSettings(file, {.loop = true, .repeat = false, .footer = true}, state));
        EXPECT_EQ(tmp.read(u"Leafsong.ini"_s), after);
        AlbumState back;
        LoadSettings(file, modes, back);
        EXPECT_TRUE(modes.loop && !modes.repeat && modes.footer);
        EXPECT_TRUE(back.BackGroundMusic == state.BackGroundMusic && back.PicturePath == u"/p"_s);
    }
}

TEST(SettingsTest, FallsBackWhenTheProgramsFolderCannotBeWritten) {
    const test::TempFolder tmp;
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");  // unset and empty mean the same
    qputenv("XDG_CONFIG_HOME", tmp.path(u"config"_s).toUtf8());
    const QString fallback = tmp.path(u"config/leafsong/Leafsong.ini"_s), bin = tmp.path(u"bin"_s);
    EXPECT_EQ(SettingsFilePath(tmp.path()), tmp.path(u"Leafsong.ini"_s));
    EXPECT_EQ(SettingsFilePath(bin), fallback) << "a missing folder cannot be written";
    EXPECT_TRUE(SaveSettings(fallback, Modes{}, AlbumState{}) && QFile::exists(fallback));
    ASSERT_TRUE(QDir().mkpath(bin) &&
                QFile::setPermissions(bin, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const QString readOnly = SettingsFilePath(bin);
    qputenv("XDG_CONFIG_HOME", oldConfig);
    if (::geteuid() == 0) {
        GTEST_SKIP() << "running as root: a read-only folder is still writable";
    }
    EXPECT_EQ(readOnly, fallback);
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
