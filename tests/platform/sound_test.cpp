// The media command interpreter and the MIDI guard.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QRegularExpression>

#include "platform/media_commands.h"
#include "platform/midi_check.h"
#include "support/fake_audio_backend.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

using namespace Qt::StringLiterals;

struct MediaCommandsTest : ::testing::Test {
    // %F stands for a song whose name holds blanks, %D for a folder named like a song.
    int Send(QString c) {
        reply = u"left over"_s;
        return mci.Send(c.replace(u"%F"_s, file).replace(u"%D"_s, dir.path(u"f.mid"_s)), &reply);
    }
    int Open() { return Send(u"open %F type Sequencer alias NOWMEDIA"_s); }
    test::TempFolder dir;
    QString file = dir.write(u"my songs/a b.MID"_s, "MThd"), folder = dir.write(u"f.mid/x"_s, "");
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
        if (row[0] == u'+') {
            ASSERT_EQ(Open(), 0);
        }
        const QString command = row.mid(3).replace(u"<tab>"_s, u"\t"_s);
        EXPECT_EQ(Send(command), row[1].digitValue()) << row.toStdString();
        const bool status = command.startsWith(u"status"_s, Qt::CaseInsensitive) && row[1] == u'0';
        EXPECT_EQ(reply, status ? u"stopped"_s : QString()) << row.toStdString();
        Send(u"close NOWMEDIA"_s);
    }
}

TEST_F(MediaCommandsTest, PlaysUntilTheTuneEndsAndNoticesOnceFromTheEventLoop) {
    int notices = 0;
    mci.SetEndNotice([&] { ++notices; });
    ASSERT_EQ(Open() + Send(u"play NOWMEDIA"_s) + Send(u"play NOWMEDIA"_s), 0);
    EXPECT_TRUE(Send(u"status NOWMEDIA mode"_s) == 0 && reply == u"playing"_s);
    backend.End();
    // Stopped at once, noticed only from the event loop.
    EXPECT_TRUE(Send(u"status NOWMEDIA mode"_s) == 0 && reply == u"stopped"_s && notices == 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(notices, 1);
    // The notice of a device closed meanwhile is dropped.
    Send(u"play NOWMEDIA"_s), backend.End(), Send(u"close NOWMEDIA"_s), Open();
    QCoreApplication::processEvents();
    EXPECT_TRUE(notices == 1 && backend.plays == 2);
}

TEST(MidiCheckTest, PassesOnlyWhatTheParserReadsToTheEnd) {
    // A format-0 file of one track holding the events (hex), its division given in hex.
    auto track = [](const char* events, const char* division = "01e0") {
        const QByteArray body = QByteArray::fromHex(events);
        return QByteArray::fromHex("4d546864000000060000 0001" + QByteArray(division) + "4d54726b" +
                                   QByteArray::number(body.size(), 16).rightJustified(8, '0')) +
               body;
    };
    // Running status, a text meta event and a sysex; wrapped after a chunk of another kind.
    const QByteArray song = track("00ff030454756e65 00903c64 6040 3e64 00f0037e7ff7 00ff2f00");
    const QByteArray riff = "RIFF"_ba + char(song.size() + 20) + "\0\0\0RMIDLIST\0\0\0\0data"_ba +
                            char(song.size()) + "\0\0\0"_ba + song;
    EXPECT_TRUE(LooksLikeMidi(song) && LooksLikeMidi(riff) &&
                !LooksLikeMidi("RIFF\4\0\0\0WAVE"_ba));
    for (const QByteArray& good : {song, riff, track("00903c64 60803c00")}) {  // no end event
        EXPECT_TRUE(IsReadableMidi(good)) << good.toHex().toStdString();
    }
    for (const QByteArray& bad :
         {track("00f6 00ff2f00"), track("00903c"), track("00ff0320 4142"), track("00ff"),
          track("00f07f 00"), track("00ff510107 00ff2f00"), track("00ff2f00", "0000"),
          track("00ff2f00", "e728"), song.chopped(1), riff.chopped(1),
          track("00ff2f00").replace(9, 1, "\2"),                 // format 2
          track("00ff2f00").replace(11, 1, "\2"),                // two tracks in format 0
          track("00ff2f00").replace(18, 4, "\xff\xff\xff\xfc"),  // a track longer than the file
          "RIFF\4\0\0\0RMID"_ba, QByteArray()}) {
        EXPECT_FALSE(IsReadableMidi(bad)) << bad.toHex().toStdString();
    }
}

}  // namespace
}  // namespace leafsong
