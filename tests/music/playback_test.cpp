// Real playback through Qt Multimedia and GStreamer with no sound card: tunes play for their own
// length into a silent sink, broken files end quietly, and the repeat follows a tune at once.
// Nothing may reach the terminal meanwhile.
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryFile>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

#include "music/media_player.h"
#include "music/repeat.h"
#include "music/sound_files.h"
#include "platform/audio_environment.h"
#include "platform/media_commands.h"
#include "platform/qt_audio_backend.h"
#include "platform/short_name.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

using test::TempFolder;

// Lets events run for ms milliseconds without spinning.
void RunEvents(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool WaitUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) {
            return false;
        }
        RunEvents(5);
    }
    return true;
}

// The real library, with the moments of each play and each end written down.
class TimedBackend final : public AudioBackend {
public:
    TimedBackend() {
        clock_.start();
        real_.SetEndNotice([this] {
            ends << clock_.elapsed();
            NotifyEnd();
        });
    }
    bool Open(const QString& path) override { return real_.Open(path); }
    bool Play() override {
        const bool ok = real_.Play();
        if (ok) {
            plays << clock_.elapsed();
        }
        return ok;
    }
    void Stop() override { real_.Stop(); }
    bool IsPlaying() const override { return real_.IsPlaying(); }

    QList<qint64> plays;
    QList<qint64> ends;

private:
    QtAudioBackend real_;
    QElapsedTimer clock_;
};

// Whatever is written to the process's standard error while it lives.
class StderrCapture {
public:
    StderrCapture() : file_(QDir::tempPath() + QStringLiteral("/leafsong-stderr-XXXXXX")) {
        std::fflush(stderr);
        saved_ = ::dup(2);
        if (file_.open()) {
            ::dup2(file_.handle(), 2);
        }
    }
    ~StderrCapture() { Restore(); }
    QByteArray Restore() {
        if (saved_ >= 0) {
            std::fflush(stderr);
            ::dup2(saved_, 2);
            ::close(saved_);
            saved_ = -1;
        }
        file_.seek(0);
        return file_.readAll();
    }

private:
    QTemporaryFile file_;
    int saved_ = -1;
};

class PlaybackTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { PrepareAudioEnvironment(); }

    PlaybackTest() {
        QDir().mkpath(dir.path(QStringLiteral("private")));
        names.SetFolder(dir.path(QStringLiteral("private/")));
    }
    void TearDown() override {
        player.CloseMedia();
        const QByteArray printed = terminal.Restore();
        EXPECT_TRUE(printed.isEmpty()) << "printed on the terminal:\n" << printed.toStdString();
    }

    QString Wav(const QString& name, int ms) { return dir.write(name, test::ToneWav(ms)); }
    QString Mp3(const QString& name, int ms) {
        const QString wav = Wav(name + QStringLiteral(".wav"), ms);
        const QString mp3 = dir.path(name);
        const QString error = test::EncodeMp3(wav, mp3);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        return mp3;
    }
    QString Wma(const QString& name, int ms) {
        const QString wav = Wav(name + QStringLiteral(".wav"), ms);
        const QString wma = dir.path(name);
        const QString error = test::EncodeWma(wav, wma);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        return wma;
    }
    QString Midi(const QString& name, int ms) {
        const QByteArray midi = test::MelodyMidi({60, 64, 67}, ms / 3);
        return dir.write(name, name.endsWith(QStringLiteral(".rmi")) ? test::RiffMidi(midi) : midi);
    }

    // Opens and plays the file; how long it then reports playing, or -1 when it does not stop.
    qint64 PlayedFor(const QString& path, int limitMs) {
        const qsizetype ends = backend.ends.size();
        EXPECT_TRUE(player.OpenMedia(path)) << path.toStdString();
        EXPECT_TRUE(player.PlayMedia()) << path.toStdString();
        const qint64 start = backend.plays.isEmpty() ? 0 : backend.plays.last();
        if (!WaitUntil([&] { return !player.IsPlaying(); }, limitMs)) {
            return -1;
        }
        return backend.ends.size() > ends ? backend.ends.last() - start : 0;
    }

    StderrCapture terminal;
    TempFolder dir;
    TimedBackend backend;
    MediaCommands mci{backend};
    ShortNames names;
    CommandPlayer player{mci, names};
};

struct FormatRow {
    const char* name;
    int ms;
};

void PrintTo(const FormatRow& row, std::ostream* os) {
    *os << row.name;
}

class PlaybackFormat : public PlaybackTest, public ::testing::WithParamInterface<FormatRow> {};

TEST_P(PlaybackFormat, PlaysForItsLengthThenStops) {
    const FormatRow& row = GetParam();
    const QString name = QString::fromLatin1(row.name);
    QString path;
    if (name.endsWith(QStringLiteral(".wav"))) {
        path = Wav(name, row.ms);
    } else if (name.endsWith(QStringLiteral(".mp3"))) {
        path = Mp3(name, row.ms);
    } else if (name.endsWith(QStringLiteral(".wma"))) {
        path = Wma(name, row.ms);
    } else {
        path = Midi(name, row.ms);
    }
    ASSERT_FALSE(HasFailure());
    const qint64 played = PlayedFor(path, row.ms + 10000);
    std::printf("[ measured ] %s of %d ms reported playing for %lld ms\n", row.name, row.ms,
                static_cast<long long>(played));
    EXPECT_GE(played, row.ms * 8 / 10);
    EXPECT_LE(played, row.ms + 2500);
    QString reply;
    EXPECT_EQ(mci.Send(QStringLiteral("status NOWMEDIA mode"), &reply), 0);
    EXPECT_EQ(reply, QStringLiteral("stopped"));
}

INSTANTIATE_TEST_SUITE_P(Formats, PlaybackFormat,
                         ::testing::Values(FormatRow{"tone.wav", 1000}, FormatRow{"tone.mp3", 1000},
                                           FormatRow{"tone.wma", 1000},
                                           FormatRow{"melody.mid", 1500},
                                           FormatRow{"melody.rmi", 1500},
                                           FormatRow{"melody.midi", 1500}),
                         [](const ::testing::TestParamInfo<FormatRow>& p) {
                             QString n = QString::fromLatin1(p.param.name);
                             return n.replace(u'.', u'_').toStdString();
                         });

TEST_F(PlaybackTest, TheGreetingTunePlays) {
    const QString tune = dir.path(QStringLiteral("private/Birthday.mid"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(":/leafsong/Birthday.mid"), tune));
    ASSERT_TRUE(player.OpenMedia(tune));
    ASSERT_TRUE(player.PlayMedia());
    RunEvents(2500);
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_TRUE(player.CloseMedia());
    EXPECT_FALSE(player.IsPlaying());
}

TEST_F(PlaybackTest, APathWithBlanksQuotesAndChinesePlays) {
    const QString path = Wav(QStringLiteral("我的 \"音乐\" it's/生日 快乐.wav"), 800);
    const qint64 played = PlayedFor(path, 10000);
    EXPECT_GE(played, 600);
    EXPECT_LE(played, 800 + 2500);
}

TEST_F(PlaybackTest, BrokenFilesEndQuietlyAndGoodOnesPlayAfter) {
    const QByteArray mp3 = [this] {
        QFile f(Mp3(QStringLiteral("whole.mp3"), 2000));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ASSERT_GT(mp3.size(), 1000);
    const QByteArray wav = test::ToneWav(2000);
    const struct {
        const char* name;
        QByteArray bytes;
    } broken[] = {
        {"empty.wav", {}},
        {"empty.mp3", {}},
        {"text.mp3", "This is a letter, not a song.\n"},
        {"cut.mp3", mp3.left(mp3.size() / 3)},
        {"cut.wav", wav.left(3000)},
        {"header only.wav", wav.left(44)},
        {"garbage.mid", test::GarbageMidi()},
        {"noise.wma", QByteArray(5000, '\x5a')},
        {"Track01.cda", QByteArray("RIFF$\0\0\0CDDAfmt ", 16) + QByteArray(28, '\0')},
    };
    for (const auto& b : broken) {
        SCOPED_TRACE(b.name);
        const QString path = dir.write(QString::fromLatin1(b.name), b.bytes);
        std::printf("[ measured ] %s: ", b.name);
        std::fflush(stdout);
        QElapsedTimer t;
        t.start();
        const bool opened = player.OpenMedia(path);
        player.PlayMedia();
        EXPECT_TRUE(WaitUntil([&] { return !player.IsPlaying(); }, 8000));
        std::printf("%s, stopped after %lld ms\n", opened ? "opened" : "refused",
                    static_cast<long long>(t.elapsed()));
        QString reply;
        const int code = mci.Send(QStringLiteral("status NOWMEDIA mode"), &reply);
        // A file the library refuses leaves no device to ask.
        EXPECT_EQ(reply, opened ? QStringLiteral("stopped") : QString());
        EXPECT_EQ(code == 0, opened);
    }
    const qint64 played = PlayedFor(Wav(QStringLiteral("good.wav"), 700), 10000);
    EXPECT_GE(played, 500);
}

TEST_F(PlaybackTest, AStreamThatFailedBeforeItsPlayIsNotPlaying) {
    const QString text = dir.write(QStringLiteral("letter.mp3"), "Dear friend,\n");
    ASSERT_TRUE(player.OpenMedia(text));
    RunEvents(3000);  // the library has given up on it meanwhile
    EXPECT_TRUE(player.PlayMedia());
    EXPECT_TRUE(WaitUntil([&] { return !player.IsPlaying(); }, 2000));
}

TEST_F(PlaybackTest, AFileDeletedWhilePlayingEndsAndTheNextOnePlays) {
    const QString doomed = Wav(QStringLiteral("doomed.wav"), 1500);
    ASSERT_TRUE(player.OpenMedia(doomed));
    ASSERT_TRUE(player.PlayMedia());
    RunEvents(300);
    ASSERT_TRUE(QFile::remove(doomed));
    EXPECT_TRUE(WaitUntil([&] { return !player.IsPlaying(); }, 8000));
    Repeat repeat(player, doomed);
    repeat.tmrRepeat_Timer();
    EXPECT_FALSE(player.IsPlaying());
    const qint64 played = PlayedFor(Wav(QStringLiteral("next.wav"), 700), 10000);
    EXPECT_GE(played, 500);
}

TEST_F(PlaybackTest, TheRepeatFollowsATuneAtOnce) {
    const QString music = Wav(QStringLiteral("repeat me.wav"), 1200);
    QTimer tmrRepeat;
    tmrRepeat.setInterval(50);
    Repeat repeat(player, music);
    ConnectRepeat(repeat, tmrRepeat, mci);
    tmrRepeat.start();
    ASSERT_TRUE(WaitUntil([&] { return backend.plays.size() >= 6; }, 20000));
    tmrRepeat.stop();
    QList<qint64> gaps;
    for (qsizetype i = 0; i + 1 < backend.plays.size() && i < backend.ends.size(); ++i) {
        gaps << backend.plays[i + 1] - backend.ends[i];
    }
    ASSERT_GE(gaps.size(), 5);
    std::sort(gaps.begin(), gaps.end());
    const qint64 median = gaps[gaps.size() / 2];
    std::printf("[ measured ] restart after the end: median %lld ms, longest %lld ms\n",
                static_cast<long long>(median), static_cast<long long>(gaps.last()));
    EXPECT_LE(median, 100);
    EXPECT_LE(gaps.last(), 1000);
    QList<qint64> rounds;
    for (qsizetype i = 0; i + 1 < backend.plays.size(); ++i) {
        rounds << backend.ends[i] - backend.plays[i];
    }
    std::sort(rounds.begin(), rounds.end());
    // A round lasts the tune plus the time the library takes to start sounding.
    std::printf("[ measured ] rounds of a 1200 ms tune: median %lld ms\n",
                static_cast<long long>(rounds[rounds.size() / 2]));
    EXPECT_GE(rounds.first(), 1000);
}

double CpuSeconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Share of one core the repeat costs over seconds of running events with tmrRepeat on.
double RepeatLoad(MediaPlayer& player, const QString& music, int seconds) {
    QTimer tmrRepeat;
    tmrRepeat.setInterval(50);
    Repeat repeat(player, music);
    QObject::connect(&tmrRepeat, &QTimer::timeout, &tmrRepeat, [&] { repeat.tmrRepeat_Timer(); });
    tmrRepeat.start();
    RunEvents(1000);  // the first attempt's set-up is not what we measure
    QElapsedTimer wall;
    wall.start();
    const double cpu = CpuSeconds();
    RunEvents(seconds * 1000);
    return (CpuSeconds() - cpu) / (double(wall.elapsed()) / 1000.0);
}

TEST_F(PlaybackTest, TheRepeatCostsLittleCpu) {
    const double missing = RepeatLoad(player, dir.path(QStringLiteral("no such.mp3")), 4);
    const double broken =
        RepeatLoad(player, dir.write(QStringLiteral("broken.mp3"), "not a song\n"), 4);
    const double playing = RepeatLoad(player, Wav(QStringLiteral("long.wav"), 8000), 4);
    std::printf(
        "[ measured ] CPU with repeat on: no music file %.2f %%, broken file %.2f %%, "
        "music playing %.2f %%\n",
        missing * 100, broken * 100, playing * 100);
    EXPECT_LT(missing, 0.05);
    EXPECT_LT(broken, 0.25);
    EXPECT_LT(playing, 0.25);
}

}  // namespace
}  // namespace leafsong
