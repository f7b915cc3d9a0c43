// Real playback through Qt Multimedia and GStreamer into a silent sink: tunes play for their own
// length, broken files end quietly, and nothing reaches the terminal.
#include <unistd.h>

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryFile>
#include <QTimer>
#include <cstdio>

#include "music/media_player.h"
#include "music/sound_files.h"
#include "platform/audio_environment.h"
#include "platform/media_commands.h"
#include "platform/qt_audio_backend.h"
#include "platform/short_name.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

using namespace Qt::StringLiterals;

void RunEvents(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct PlaybackTest : ::testing::Test {
    static void SetUpTestSuite() { PrepareAudioEnvironment(); }
    PlaybackTest() {
        std::fflush(stderr);
        ::dup2(terminal.open() ? terminal.handle() : 2, 2);
    }
    void TearDown() override {
        player.CloseMedia();
        std::fflush(stderr);
        ::dup2(savedStderr, 2), ::close(savedStderr);
        terminal.seek(0);
        EXPECT_EQ(terminal.readAll().toStdString(), "") << "printed on the terminal";
    }
    QString Make(const QString& name, int ms) {
        if (name.endsWith(u".wav"_s)) {
            return dir.write(name, test::ToneWav(ms));
        }
        if (name.endsWith(u".mid"_s) || name.endsWith(u".rmi"_s)) {
            const QByteArray midi = test::MelodyMidi({60, 64, 67}, ms / 3);
            return dir.write(name, name.endsWith(u".rmi"_s) ? test::RiffMidi(midi) : midi);
        }
        const QString error =
            test::Encode(dir.write(name + u".wav"_s, test::ToneWav(ms)), dir.path(name));
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        return dir.path(name);
    }
    // Milliseconds until the player reports stopped, or -1 when it still plays after limitMs.
    qint64 UntilStopped(int limitMs = 8000) {
        QElapsedTimer t;
        for (t.start(); player.IsPlaying(); RunEvents(5)) {
            if (t.elapsed() > limitMs) {
                return -1;
            }
        }
        return t.elapsed();
    }
    qint64 Play(const QString& path) {
        EXPECT_TRUE(player.OpenMedia(path) && player.PlayMedia()) << path.toStdString();
        return UntilStopped(20000);
    }
    QTemporaryFile terminal;
    int savedStderr = ::dup(2);
    test::TempFolder dir;
    QtAudioBackend backend;
    MediaCommands mci{backend};
    ShortNames names{dir.path() + u'/'};
    CommandPlayer player{mci, names};
};

TEST_F(PlaybackTest, EachFormatPlaysForItsLengthThenStops) {
    for (const auto& [name, ms] : {std::pair{u"tone.wav"_s, 1000},
                                   {u"tone.mp3"_s, 1000},
                                   {u"tone.wma"_s, 1000},
                                   {u"melody.mid"_s, 1500},
                                   {u"melody.rmi"_s, 1500},
                                   {u"我的 \"音乐\" it's/生日 快乐.wav"_s, 800}}) {
        const qint64 played = Play(Make(name, ms));
        EXPECT_GE(played, ms * 8 / 10) << name.toStdString();
        EXPECT_LE(played, ms + 2500) << name.toStdString();
        QString reply;
        EXPECT_EQ(mci.Send(u"status NOWMEDIA mode"_s, &reply), 0);
        EXPECT_EQ(reply, u"stopped"_s);
    }
}

TEST_F(PlaybackTest, BrokenFilesEndStoppedAndAGoodOnePlaysAfter) {
    const QByteArray mp3 = test::TempFolder::ReadFile(Make(u"whole.mp3"_s, 2000));
    const QByteArray wav = test::ToneWav(2000);
    ASSERT_GT(mp3.size(), 1000);
    for (const auto& [name, bytes] : {std::pair{"empty.wav", QByteArray()},
                                      {"empty.mp3", QByteArray()},
                                      {"text.mp3", QByteArray("This is a letter, not a song.\n")},
                                      {"cut.mp3", mp3.left(mp3.size() / 3)},
                                      {"cut.wav", wav.left(3000)},
                                      {"header only.wav", wav.left(44)},
                                      {"garbage.mid", test::GarbageMidi()},
                                      {"noise.wma", QByteArray(5000, 'Z')}}) {
        player.OpenMedia(dir.write(QString::fromLatin1(name), bytes));
        player.PlayMedia();
        EXPECT_GE(UntilStopped(), 0) << name;
    }
    const QString doomed = Make(u"doomed.wav"_s, 1500);
    ASSERT_TRUE(player.OpenMedia(doomed) && player.PlayMedia());
    RunEvents(300);
    ASSERT_TRUE(QFile::remove(doomed));
    EXPECT_GE(UntilStopped(), 0);
    EXPECT_GE(Play(Make(u"good.wav"_s, 700)), 500);
}

}  // namespace
}  // namespace leafsong
