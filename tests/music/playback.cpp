// Real playback through Qt Multimedia and GStreamer into a silent sink: tunes play for their own
// length, broken files end quietly, and nothing reaches the terminal.
#include <unistd.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryFile>
#include <QThread>
#include <QTimer>

#include "music/media_player.h"
#include "music/sound_files.h"
#include "platform/audio_environment.h"
#include "platform/media_commands.h"
#include "platform/qt_audio_backend.h"
#include "platform/short_name.h"
#include "support/temp_folder.h"

// Leak checks in sanitizer builds. What the sound stack keeps for the whole process is not ours
// to free: GStreamer's device discovery, which Qt Multimedia runs when the first audio output is
// made (its PulseAudio, ALSA or Vulkan providers keep what they found), and the constructors of
// the libraries it loads (named by the loader's module, whose symbols a fresh system lacks).
// Those call trees never call back into the album, so naming them hides
// nothing of ours; full stacks are needed to see them, as the libraries keep no frame pointers.
// NOLINTBEGIN(bugprone-reserved-identifier)
extern "C" const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0:malloc_context_size=16";
}
extern "C" const char* __lsan_default_suppressions() {
    return "leak:gst_device_monitor_start\n"
           "leak:gst_device_monitor_get_devices\n"
           "leak:gst_device_provider_start\n"
           "leak:gst_device_provider_get_devices\n"
           // Library constructors, run by the dynamic loader; its symbols may be missing.
           "leak:_dl_init\n"
           "leak:ld-linux-x86-64.so.2\n";
}
// NOLINTEND(bugprone-reserved-identifier)

namespace leafsong {
namespace {

using namespace Qt::StringLiterals;

struct PlaybackTest : ::testing::Test {
    static void SetUpTestSuite() { PrepareAudioEnvironment(); }
    PlaybackTest() { ::dup2(terminal.open() ? terminal.handle() : 2, 2); }
    void TearDown() override {
        player.CloseMedia();
        ::dup2(savedStderr, 2), ::close(savedStderr);
        terminal.seek(0);
        EXPECT_EQ(terminal.readAll().toStdString(), "") << "printed on the terminal";
    }
    // Plays a file: the milliseconds until the player reports stopped, -1 after limitMs.
    qint64 Play(const QString& name, const QByteArray& bytes, int limitMs = 8000) {
        player.OpenMedia(dir.write(name, bytes));
        player.PlayMedia();
        QElapsedTimer t;
        for (t.start(); player.IsPlaying() && t.elapsed() <= limitMs; QThread::msleep(2)) {
            QCoreApplication::processEvents();
        }
        return player.IsPlaying() ? -1 : t.elapsed();
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
    for (const auto& [name, bytes, ms] :
         {std::tuple{u"tone.wav"_s, test::Tone(1000, u"wav"_s), 1000},
          {u"tone.mp3"_s, test::Tone(1000, u"mp3"_s), 1000},
          {u"tone.wma"_s, test::Tone(1000, u"wma"_s), 1000},
          {u"melody.mid"_s, test::MelodyMidi(500), 1500},
          {u"melody.rmi"_s, test::MelodyMidi(500, true), 1500},
          {u"我的 \"音乐\" it's/生日 快乐.wav"_s, test::Tone(800, u"wav"_s), 800}}) {
        // Starting takes the library a while on a loaded machine (a second or more for a MIDI
        // synthesizer under the sanitizers): the allowance is wide, but a tune that never ended
        // or ended at once still fails.
        const qint64 played = Play(name, bytes, 20000);
        EXPECT_TRUE(played >= ms * 8 / 10 && played <= ms + 6000) << name.toStdString() << played;
    }
}

TEST_F(PlaybackTest, BrokenFilesEndStoppedAndAGoodOnePlaysAfter) {
    const QByteArray wav = test::Tone(1500, u"wav"_s), mp3 = test::Tone(1500, u"mp3"_s);
    for (const auto& [name, bytes] :
         {std::pair{"empty.wav", QByteArray()},
          {"text.mp3", QByteArray("A letter, not a song.\n")},
          {"cut.mp3", mp3.left(mp3.size() / 3)},
          {"cut.wav", wav.left(3000)},
          {"header only.wav", wav.left(44)},
          {"garbage.mid", test::MelodyMidi(500).left(30) + QByteArray(300, char(0xf3))},
          {"noise.wma", QByteArray(5000, 'Z')}}) {
        EXPECT_GE(Play(QString::fromLatin1(name), bytes), 0) << name;
        // Closing never waits for the library (which takes a second over a stream that failed).
        QElapsedTimer closing;
        closing.start();
        player.CloseMedia();
        EXPECT_LT(closing.elapsed(), 250) << name;
    }
    QTimer::singleShot(300, [&] { QFile::remove(dir.path(u"doomed.wav"_s)); });
    EXPECT_GE(Play(u"doomed.wav"_s, wav), 0);  // deleted while it plays
    EXPECT_GE(Play(u"good.wav"_s, test::Tone(700, u"wav"_s)), 500);
}

}  // namespace
}  // namespace leafsong
