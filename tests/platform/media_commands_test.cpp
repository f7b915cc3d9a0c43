#include "platform/media_commands.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QRegularExpression>
#include <random>

#include "support/fake_audio_backend.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

using namespace Qt::StringLiterals;
using E = MediaError;

struct MediaCommandsTest : ::testing::Test {
    // %F stands for a song whose name holds blanks, %D for a folder named like a song.
    int Send(QString c) {
        c.replace(u"%F"_s, file).replace(u"%D"_s, dir.path(u"f.mid"_s));
        reply = u"left over"_s;
        return mci.Send(c, &reply);
    }
    int Open() { return Send(u"open %F type Sequencer alias NOWMEDIA"_s); }
    test::TempFolder dir;
    QString file = dir.write(u"my songs/a b 曲.MID"_s, "MThd");
    QString folder = dir.write(u"f.mid/inside"_s, "x");
    test::FakeAudioBackend backend;
    MediaCommands mci{backend};
    QString reply;
};

TEST_F(MediaCommandsTest, GrammarAndAnswers) {
    // Rows end in "|": "+" when a device is open first, the expected MediaError code, the
    // command. Unquoted, "%F type MPEGVideo" reads as the file name.
    const QString table =
        uR"(-1 |-1    |+1 pause NOWMEDIA|+1 "play" NOWMEDIA|+2 play|+3 play OTHER|
+0 PLAY nowmedia|+9 play NOWMEDIA from 0|+2 close NOWMEDIA now|+2 status NOWMEDIA|
+0 Status NowMedia MODE|+9 status NOWMEDIA length|+2 status NOWMEDIA mode now|+2 set NOWMEDIA|
+0 set NOWMEDIA time format milliseconds|+9 set NOWMEDIA time format frames|
+4 open %F type Sequencer alias SECOND|-3 close NOWMEDIA|-3 status NOWMEDIA mode|
-3 play NOWMEDIA|-3 set NOWMEDIA time format milliseconds|
-0   OPEN   %F<tab>type cdaudio ALIAS NOWMEDIA|-0 open "%F" type Waveaudio alias NOWMEDIA|
-0 open %F type AVIVideo alias NOWMEDIA style popup|
-0 open %F type MPEGVideo alias NOWMEDIA style overlapped |
-2 open %F type Sequencer alias NOWMEDIA style overlapped |
-2 open %F type MPEGVideo alias NOWMEDIA style sideways|-2 open %F type Sequencer|
-2 open %F alias NOWMEDIA|-2 open|-2 open %F type Sequencer alias NOWMEDIA wait|
-2 open "unclosed type Sequencer alias NOWMEDIA|-6 open %F type RealPlayer alias NOWMEDIA|
-2 open "%F" type MPEGVideo alias NOWMEDIA type MPEGVideo|
-5 open %F type MPEGVideo alias NOWMEDIA type MPEGVideo|-5 open %D type Sequencer alias X|
-5 open /no/such.mid type Sequencer alias NOWMEDIA|)"_s;
    for (const QString& row : table.split(QRegularExpression(u"\\|\n?"_s), Qt::SkipEmptyParts)) {
        const QString command = row.mid(3).replace(u"<tab>"_s, u"\t"_s);
        if (row[0] == u'+') {
            ASSERT_EQ(Open(), 0);
        }
        EXPECT_EQ(Send(command), row[1].digitValue()) << row.toStdString();
        const bool status = command.startsWith(u"status"_s, Qt::CaseInsensitive);
        EXPECT_EQ(reply, status && row[1] == u'0' ? u"stopped"_s : QString()) << row.toStdString();
        Send(u"close NOWMEDIA"_s);
    }
}

TEST_F(MediaCommandsTest, PlaysUntilTheTuneEndsAndNoticesOnce) {
    int notices = 0;
    mci.SetEndNotice([&] { ++notices; });
    ASSERT_EQ(Open(), 0);
    EXPECT_EQ(backend.opened, QStringList{file});
    ASSERT_EQ(Send(u"play NOWMEDIA"_s) + Send(u"play NOWMEDIA"_s), 0);
    EXPECT_EQ(backend.plays, 1);
    EXPECT_EQ(Send(u"status NOWMEDIA mode"_s), 0);
    EXPECT_EQ(reply, u"playing"_s);  // from the accepted play on, loading included
    backend.End();
    EXPECT_EQ(Send(u"status NOWMEDIA mode"_s), 0);
    EXPECT_EQ(reply, u"stopped"_s);
    EXPECT_EQ(notices, 0);  // only from the event loop
    QCoreApplication::processEvents();
    EXPECT_EQ(notices, 1);
    // The notice of a device closed meanwhile is dropped.
    Send(u"play NOWMEDIA"_s), backend.End(), Send(u"close NOWMEDIA"_s);
    ASSERT_EQ(Open(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(notices, 1);
    backend.refusePlay = true;
    EXPECT_EQ(Send(u"play NOWMEDIA"_s), int(E::CannotPlay));
    backend.refuseOpen = true;
    Send(u"close NOWMEDIA"_s);
    EXPECT_EQ(Open(), int(E::CannotOpen));
    EXPECT_TRUE(mci.openAlias().isEmpty());
}

TEST_F(MediaCommandsTest, RandomCommandsAlwaysGetAnAnswer) {
    const QStringList verbs = u"open close play status set"_s.split(u' ');
    const QStringList words = verbs +
                                  u"NOWMEDIA nowmedia type alias style overlapped Sequencer "
                                  u"mode time format \" \"\" 播放 %1"_s.split(u' ')
                              << file;
    const QRegularExpression blanks(u"\\s+"_s, QRegularExpression::UseUnicodePropertiesOption);
    std::mt19937 rng(20240605);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    for (int i = 0; i < 20000; ++i) {
        QString command;
        for (int w = pick(8); w > 0; --w) {
            for (int c = pick(5) == 0 ? pick(6) : 0; c > 0; --c) {
                command += QChar(1 + pick(0x2fff));
            }
            command += words[pick(words.size())] + (pick(4) ? u" "_s : u"\t "_s);
        }
        QString answer = u"left over"_s;
        const int code = mci.Send(command, &answer);
        SCOPED_TRACE(command.toStdString());
        ASSERT_TRUE(code >= 0 && code <= int(E::Unsupported));
        if (code != 0) {
            ASSERT_TRUE(answer.isEmpty());
        }
        const QStringList parts = command.split(blanks, Qt::SkipEmptyParts);
        if (parts.isEmpty() || !verbs.contains(parts[0].toLower())) {
            ASSERT_NE(code, 0);
        }
        ASSERT_EQ(mci.openAlias().isEmpty(), backend.loaded.isEmpty());
    }
}

}  // namespace
}  // namespace leafsong
