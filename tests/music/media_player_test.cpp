#include "music/media_player.h"

#include <gtest/gtest.h>

#include <QDir>

#include "platform/media_commands.h"
#include "platform/short_name.h"
#include "support/fake_audio_backend.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

using namespace Qt::StringLiterals;
const QString kClose = u"close NOWMEDIA"_s, kTime = u"set NOWMEDIA time format milliseconds"_s;

struct CommandPlayerTest : ::testing::Test {
    CommandPlayerTest() {
        QDir().mkpath(dir.path(u"private"_s));
        names.SetFolder(dir.path(u"private/"_s));
    }
    QString Song(const QString& name) { return dir.write(u"music/"_s + name, "tune"); }
    test::TempFolder dir;
    test::FakeAudioBackend backend;
    MediaCommands mci{backend};
    test::RecordingSink sink{mci};
    ShortNames names;
    CommandPlayer player{sink, names};
};

TEST_F(CommandPlayerTest, OpensEachTypeWithItsCommand) {
    EXPECT_FALSE(player.IsPlaying());
    const QString over = u"| style overlapped "_s;  // the video types' tail, blank included
    for (const QString& row :
         {u"a.mid|Sequencer|"_s, u"a long name.midi|Sequencer|"_s, u"a.rmi|Sequencer|"_s,
          u"生日 快乐 \"歌\".WAV|Waveaudio|"_s, u"Track01.cda|CDAudio|"_s,
          u"a.avi|AVIVideo"_s + over, u"song.Mp3|MPEGVideo"_s + over, u"a.wma|MPEGVideo"_s + over,
          u"a.ogg|MPEGVideo"_s + over}) {
        const QStringList cells = row.split(u'|');
        const QString path = Song(cells[0]);
        sink.sent.clear();
        ASSERT_TRUE(player.OpenMedia(path)) << row.toStdString();
        const QString open = u"open "_s + names.GetShortName(path) + u" type "_s + cells[1] +
                             u" alias NOWMEDIA"_s + cells[2];
        EXPECT_EQ(sink.sent, (QStringList{kClose, open, kTime}));
        EXPECT_EQ(player.CurrentMedia(), path);
        EXPECT_TRUE(player.PlayMedia() && player.IsPlaying()) << row.toStdString();
    }
    backend.End();
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_TRUE(player.CloseMedia());
    EXPECT_TRUE(player.CurrentMedia().isEmpty());
    EXPECT_FALSE(player.CloseMedia());
    const QString mp3 = Song(u"b.mp3"_s);
    ASSERT_TRUE(player.OpenMedia(mp3, 42));  // a parent window: no style
    EXPECT_EQ(sink.sent.end()[-2],
              u"open "_s + names.GetShortName(mp3) + u" type MPEGVideo alias NOWMEDIA"_s);
}

TEST_F(CommandPlayerTest, RefusesRealMediaAndFailedOpensLeaveNothingOpen) {
    for (const QString& name : {u"a.rm"_s, u"A.RM"_s, u"a.ram"_s, u"a.Ra"_s}) {
        ASSERT_TRUE(player.OpenMedia(Song(u"first.mp3"_s)));
        sink.sent.clear();
        EXPECT_FALSE(player.OpenMedia(Song(name)));
        EXPECT_EQ(sink.sent, QStringList{kClose});
        EXPECT_TRUE(player.CurrentMedia().isEmpty());
    }
    backend.refuseOpen = true;
    EXPECT_FALSE(player.OpenMedia(Song(u"bad.mp3"_s)));
    EXPECT_EQ(sink.sent.last(), kTime);
    EXPECT_TRUE(player.CurrentMedia().isEmpty());
    EXPECT_FALSE(player.PlayMedia() || player.IsPlaying());
}

TEST(DeviceTypeTest, ByExtension) {
    for (const QString& row :
         u"a.RMI Sequencer|x.mid.wav Waveaudio|a.Avi AVIVideo|a.cda CDAudio|"
         u"a.rm RealPlayer|a.ram RealPlayer|a.Ra RealPlayer|a.aiff MPEGVideo|"
         u"a.mpeg MPEGVideo|/x.y/song MPEGVideo| MPEGVideo"_s.split(u'|')) {
        EXPECT_EQ(GetDeviceType(row.section(u' ', 0, -2)), row.section(u' ', -1))
            << row.toStdString();
    }
    EXPECT_TRUE(IsNetMedia(u"HTTP://example.org/a.mp3"_s) && IsNetMedia(u"Ftp://host/a.mid"_s));
    EXPECT_FALSE(IsNetMedia(u"https://example.org/a.mp3"_s) || IsNetMedia(u"/u/http://a"_s));
}

}  // namespace
}  // namespace leafsong
