#include "music/repeat.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

#include "music/media_player.h"
#include "platform/media_commands.h"
#include "platform/short_name.h"
#include "support/fake_audio_backend.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

using namespace Qt::StringLiterals;

struct RepeatTest : ::testing::Test {
    test::TempFolder dir;
    test::FakeAudioBackend backend;
    MediaCommands mci{backend};
    test::RecordingSink sink{mci};
    ShortNames names{dir.path() + u'/'};
    CommandPlayer player{sink, names};
    QString music = dir.write(u"music/back ground.mp3"_s, "tune");
    qint64 now = 100000;
    Repeat repeat{player, music, [this] { return now; }};
};

TEST_F(RepeatTest, RestartsStoppedMusicOnlyWhenItsFileExists) {
    const QString song = music;
    for (const QString& missing : {u"Harrowfen"_s, dir.path(u"gone.mp3"_s), dir.path(u"music"_s)}) {
        music = missing;
        repeat.tmrRepeat_Timer();
        now += 2000;
    }
    music = song;
    EXPECT_EQ(sink.sent, QStringList(3, u"status NOWMEDIA mode"_s));
    repeat.tmrRepeat_Timer();
    EXPECT_EQ(sink.sent.last(), u"play NOWMEDIA"_s);
    EXPECT_TRUE(backend.playing);
    EXPECT_EQ(player.CurrentMedia(), music);
    sink.sent.clear();
    now += 5000;
    repeat.tmrRepeat_Timer();  // nothing while it plays
    EXPECT_EQ(sink.sent, QStringList{u"status NOWMEDIA mode"_s});
}

TEST_F(RepeatTest, ABrokenFileIsTriedOnceASecond) {
    for (int tick = 0; tick < 200; ++tick, now += 50) {
        repeat.tmrRepeat_Timer();
        backend.End();  // the library gives up on it at once
    }
    EXPECT_TRUE(backend.plays >= 10 && backend.plays <= 11) << backend.plays;
    // A tune that ends while the timer runs is followed at once by the end notice.
    QTimer tmrRepeat;
    ConnectRepeat(repeat, tmrRepeat, mci);
    tmrRepeat.start(3600 * 1000);
    now += 2000, repeat.tmrRepeat_Timer(), now += 2000;
    const int plays = backend.plays;
    backend.End();
    QCoreApplication::processEvents();
    EXPECT_EQ(backend.plays, plays + 1);
}

}  // namespace
}  // namespace leafsong
