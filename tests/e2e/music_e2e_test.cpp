// Dropped files and the greeting tune, in the real program under Xvfb.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "e2e/album_fixture.h"

namespace leafsong::e2e {
namespace {

using MusicE2E = AlbumE2E;

// A 1 s silent WAV.
void WriteWav(const QString& path) {
    const int rate = 8000, bytes = rate;
    QByteArray w("RIFF");
    auto u32 = [&](quint32 v) { w.append(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](quint16 v) { w.append(reinterpret_cast<const char*>(&v), 2); };
    u32(36 + bytes);
    w.append("WAVEfmt ");
    u32(16), u16(1), u16(1), u32(rate), u32(rate), u16(1), u16(8);
    w.append("data");
    u32(bytes);
    w.append(QByteArray(bytes, char(128)));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(w);
}

TEST_F(MusicE2E, DroppedPicturesOpenTheirFolderAndDroppedMusicPlays) {
    AlbumRun run(x);
    WritePicture(run.albumDir() + QStringLiteral("/a.jpg"), 800, 600, qRgb(200, 60, 60));
    const QString other = QDir::cleanPath(run.albumDir() + QStringLiteral("/../dropped"));
    QDir().mkpath(other);
    WritePicture(other + QStringLiteral("/b.jpg"), 800, 600, qRgb(60, 60, 200));
    WritePicture(other + QStringLiteral("/c.JPG"), 800, 600, qRgb(60, 200, 60));
    const QString tune = other + QStringLiteral("/曲 \"one\".wav");
    WriteWav(tune);
    run.env().insert(QStringLiteral("QT_LOGGING_RULES"),
                     QStringLiteral("leafsong.media.debug=true"));
    run.Start({run.albumDir()});
    WaitForBook(qRgb(200, 60, 60));

    auto dragFrom = [&](const QStringList& files) {
        QProcess source;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), x.display());
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        source.setProcessEnvironment(env);
        source.start(QStringLiteral(LEAFSONG_DRAG_SOURCE), files);
        ASSERT_TRUE(source.waitForStarted(10000));
        WaitFor([&] { return Distance(x.Screenshot().pixel(60, 60), qRgb(32, 160, 64)) < 40; },
                10000);
        Mouse({QStringLiteral("60"), QStringLiteral("60")});
        x.XDoTool({QStringLiteral("mousedown"), QStringLiteral("1")});
        for (int i = 1; i <= 10; ++i) {
            Mouse({QString::number(60 + (book.BookLeft + 300 - 60) * i / 10),
                   QString::number(60 + (book.BookTop + 200 - 60) * i / 10)});
            WaitFor([] { return false; }, 50);
        }
        x.XDoTool({QStringLiteral("mouseup"), QStringLiteral("1")});
        WaitFor([] { return false; }, 500);
        source.kill();
        source.waitForFinished(5000);
    };
    // A text file first, then a picture: the picture's folder opens at its first picture.
    dragFrom({run.albumDir() + QStringLiteral("/../notes.txt"), other + QStringLiteral("/c.JPG")});
    WaitForBook(qRgb(60, 60, 200));
    // A music file plays.
    dragFrom({tune});
    EXPECT_TRUE(WaitFor(
        [&] { return run.stderrText().contains(QLatin1String("\"play NOWMEDIA\" -> 0")); }, 10000))
        << run.stderrText().toStdString();
    FocusAndPress("Escape");
    ASSERT_EQ(run.WaitForExit(15000), 0);
    const QByteArray ini = ReadAll(run.settingsFile());
    EXPECT_TRUE(ini.contains("BackGroundMusic=" + tune.toUtf8())) << ini.toStdString();
    EXPECT_TRUE(ini.contains("PicturePath=" + other.toUtf8() + "/"));
}

TEST_F(MusicE2E, OnTheFifthOfJuneTheGreetingTunePlays) {
#ifdef LEAFSONG_SANITIZED
    GTEST_SKIP() << "libfaketime does not mix with the sanitizers";
#endif
    const QString faketime = QStringLiteral("/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1");
    if (!QFileInfo::exists(faketime)) {
        GTEST_SKIP() << "libfaketime is not installed";
    }
    AlbumRun run(x);
    run.env().insert(QStringLiteral("LD_PRELOAD"), faketime);
    run.env().insert(QStringLiteral("FAKETIME"), QStringLiteral("@2026-06-05 10:00:00"));
    run.env().insert(QStringLiteral("FAKETIME_DONT_FAKE_MONOTONIC"), QStringLiteral("1"));
    run.env().insert(QStringLiteral("QT_LOGGING_RULES"),
                     QStringLiteral("leafsong.media.debug=true"));
    run.Start({run.albumDir()});
    const QImage shot = WaitForBook(qRgb(240, 240, 240), 0, {60, 60});
    int magenta = 0;
    for (int y = 150; y < 200; ++y) {
        for (int x0 = 100; x0 < 650; ++x0) {
            magenta += Distance(At(shot, x0, y), qRgb(255, 0, 255)) < 60;
        }
    }
    EXPECT_GT(magenta, 100) << "the greeting line on the information page";
    EXPECT_TRUE(WaitFor(
        [&] {
            return run.stderrText().contains(QLatin1String("type Sequencer alias NOWMEDIA\" -> 0"));
        },
        10000))
        << run.stderrText().toStdString();
    EXPECT_TRUE(TempFiles(run).contains(QStringLiteral("Birthday.mid")));
    FocusAndPress("Escape");
    ASSERT_EQ(run.WaitForExit(15000), 0);
    EXPECT_TRUE(TempFiles(run).isEmpty());
}

}  // namespace
}  // namespace leafsong::e2e
