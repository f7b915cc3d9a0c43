// The repeat tick over the real player and interpreter, with a scripted sound library and clock.
#include "music/repeat.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QTimer>

#include "music/media_player.h"
#include "platform/media_commands.h"
#include "platform/short_name.h"
#include "support/fake_audio_backend.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

using test::FakeAudioBackend;
using test::RecordingSink;

const QString kStatus = QStringLiteral("status NOWMEDIA mode");
const QString kClose = QStringLiteral("close NOWMEDIA");
const QString kPlay = QStringLiteral("play NOWMEDIA");

class RepeatTest : public ::testing::Test {
protected:
    RepeatTest() {
        QDir().mkpath(folders.path(QStringLiteral("private")));
        names.SetFolder(folders.path(QStringLiteral("private/")));
        music = folders.write(QStringLiteral("music/back ground.mp3"), "tune");
    }
    // Ticks every 50 ms for the given time and counts the open commands sent.
    int OpensOver(qint64 ms) {
        sink.sent.clear();
        for (qint64 end = now + ms; now < end; now += 50) {
            repeat.tmrRepeat_Timer();
        }
        return int(sink.sent.filter(QStringLiteral("open ")).size());
    }

    test::TempFolder folders;
    FakeAudioBackend backend;
    MediaCommands mci{backend};
    RecordingSink sink{mci};
    ShortNames names;
    CommandPlayer player{sink, names};
    QString music;
    qint64 now = 100000;
    Repeat repeat{player, music, [this] { return now; }};
};

TEST_F(RepeatTest, NothingWhileMusicPlays) {
    ASSERT_TRUE(player.OpenMedia(music));
    ASSERT_TRUE(player.PlayMedia());
    sink.sent.clear();
    repeat.tmrRepeat_Timer();
    EXPECT_EQ(sink.sent, QStringList{kStatus});
}

TEST_F(RepeatTest, StoppedMusicStartsAgainFromTheFile) {
    repeat.tmrRepeat_Timer();
    ASSERT_EQ(sink.sent.size(), 5);
    EXPECT_EQ(sink.sent[0], kStatus);
    EXPECT_EQ(sink.sent[1], kClose);
    EXPECT_TRUE(sink.sent[2].startsWith(QStringLiteral("open ") + names.GetShortName(music)));
    EXPECT_EQ(sink.sent[4], kPlay);
    EXPECT_TRUE(backend.playing);
    EXPECT_EQ(player.CurrentMedia(), music);
}

TEST_F(RepeatTest, MissingMusicIsLeftAlone) {
    for (const QString& m : {QStringLiteral("Harrowfen"), folders.path(QStringLiteral("gone.mp3")),
                             folders.path(QStringLiteral("music"))}) {
        music = m;
        sink.sent.clear();
        repeat.tmrRepeat_Timer();
        EXPECT_EQ(sink.sent, QStringList{kStatus}) << m.toStdString();
    }
}

TEST_F(RepeatTest, AfterTheGreetingTheBackgroundMusicFollows) {
    const QString greeting = folders.write(QStringLiteral("private/Birthday.mid"), "MThd");
    ASSERT_TRUE(player.OpenMedia(greeting));
    ASSERT_TRUE(player.PlayMedia());
    repeat.tmrRepeat_Timer();
    EXPECT_EQ(player.CurrentMedia(), greeting);
    backend.End();
    repeat.tmrRepeat_Timer();
    EXPECT_EQ(player.CurrentMedia(), music);
    EXPECT_TRUE(backend.playing);
}

TEST_F(RepeatTest, ATuneThatEndsIsFollowedAtTheNextTick) {
    repeat.tmrRepeat_Timer();
    now += 3000;
    backend.End();
    EXPECT_EQ(OpensOver(50), 1);
    EXPECT_TRUE(backend.playing);
    EXPECT_EQ(backend.plays, 2);
}

TEST_F(RepeatTest, AFileThatWillNotOpenIsTriedOnceASecond) {
    backend.refuseOpen = true;
    const int opens = OpensOver(10000);
    EXPECT_GE(opens, 10);
    EXPECT_LE(opens, 11);
    // Each attempt is the whole sequence, and the album goes on.
    EXPECT_FALSE(backend.playing);
}

TEST_F(RepeatTest, AFileThatFailsAtOnceIsTriedOnceASecond) {
    // Opens and plays, then the library gives up on it straight away.
    int opens = 0;
    for (int tick = 0; tick < 200; ++tick, now += 50) {
        const int before = backend.plays;
        repeat.tmrRepeat_Timer();
        if (backend.plays != before) {
            ++opens;
            backend.End();
        }
    }
    EXPECT_GE(opens, 10);
    EXPECT_LE(opens, 11);
}

TEST_F(RepeatTest, RealMediaMusicNeverPlaysAndCostsLittle) {
    music = folders.write(QStringLiteral("music/a.rm"), "rm");
    repeat.tmrRepeat_Timer();
    EXPECT_EQ(sink.sent, (QStringList{kStatus, kClose, kPlay}));
    now += 50;
    EXPECT_EQ(OpensOver(5000), 0);
    EXPECT_EQ(sink.sent.count(kPlay), 5);
    EXPECT_FALSE(backend.playing);
}

TEST_F(RepeatTest, TheEndNoticeTicksAtOnceWhileTheTimerRuns) {
    QTimer tmrRepeat;
    tmrRepeat.setInterval(3600 * 1000);  // only the notice can tick here
    ConnectRepeat(repeat, tmrRepeat, mci);
    repeat.tmrRepeat_Timer();
    ASSERT_EQ(backend.plays, 1);

    tmrRepeat.start();
    now += 2000;
    backend.End();
    QCoreApplication::processEvents();
    EXPECT_EQ(backend.plays, 2);
    EXPECT_TRUE(backend.playing);

    tmrRepeat.stop();
    now += 2000;
    backend.End();
    QCoreApplication::processEvents();
    EXPECT_EQ(backend.plays, 2);
    EXPECT_FALSE(backend.playing);
}

TEST_F(RepeatTest, TimerTicksRestartTheMusic) {
    QTimer tmrRepeat;
    tmrRepeat.setInterval(5);
    ConnectRepeat(repeat, tmrRepeat, mci);
    tmrRepeat.start();
    QElapsedTimer waited;
    waited.start();
    while (backend.plays == 0 && waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    EXPECT_EQ(backend.plays, 1);
}

}  // namespace
}  // namespace leafsong
