#include "platform/midi_check.h"

#include <gtest/gtest.h>

#include <random>

#include "music/sound_files.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

// A format-0 file of one track holding the events (hex), its division given in hex.
QByteArray OneTrack(const char* events, const char* division = "01e0") {
    const QByteArray track = QByteArray::fromHex(events);
    return QByteArray::fromHex(QByteArray("4d546864000000060000 0001") + division + "4d54726b") +
           QByteArray::fromHex(QByteArray::number(track.size(), 16).rightJustified(8, '0')) + track;
}

TEST(MidiCheckTest, PassesWhatTheParserReadsToTheEnd) {
    const QByteArray greeting =
        test::TempFolder::ReadFile(QStringLiteral(":/leafsong/Birthday.mid"));
    EXPECT_TRUE(LooksLikeMidi(greeting) && LooksLikeMidi(test::RiffMidi(greeting)));
    EXPECT_FALSE(LooksLikeMidi(test::ToneWav(10)) || LooksLikeMidi("This is a letter"));
    // Running status, a text meta event and a sysex; a track may lack its end event.
    for (const QByteArray& good :
         {greeting, test::MelodyMidi({60, 62}, 200), test::RiffMidi(test::MelodyMidi({60}, 200)),
          OneTrack("00ff030454756e65 00903c64 6040 3e64 00f0037e7ff7 00ff2f00"),
          OneTrack("00903c64 60803c00")}) {
        EXPECT_TRUE(IsReadableMidi(good)) << good.toHex().toStdString();
    }
    for (const QByteArray& bad :
         {test::GarbageMidi(), OneTrack("00f6 00ff2f00"), OneTrack("00903c"),
          OneTrack("00ff0320 4142"), OneTrack("00ff"), OneTrack("00f07f 00"),
          OneTrack("00ff510107 00ff2f00"), OneTrack("00ff2f00", "0000"),
          OneTrack("00ff2f00", "e728"), greeting.chopped(1),
          QByteArray::fromHex("4d546864000000060002000101e0"),  // format 2
          QByteArray::fromHex("4d546864000000060000000201e0"),  // two tracks in format 0
          QByteArray::fromHex("4d546864000000060000000101e0 4d54726bfffffffc 00ff2f00"),
          QByteArray("RIFF\x04\0\0\0RMID", 12), QByteArray()}) {
        EXPECT_FALSE(IsReadableMidi(bad)) << bad.toHex().toStdString();
    }
    // Every cut and many random changes of a good file get an answer.
    for (qsizetype n = 0; n <= greeting.size(); ++n) {
        IsReadableMidi(greeting.left(n));
    }
    std::mt19937 rng(605);
    for (int i = 0; i < 20000; ++i) {
        QByteArray m = greeting;
        for (int k = 1 + rng() % 8; k > 0; --k) {
            m[rng() % m.size()] = char(rng());
        }
        IsReadableMidi(m);
    }
}

}  // namespace
}  // namespace leafsong
