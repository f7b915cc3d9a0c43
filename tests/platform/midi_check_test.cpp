// The guard that keeps unreadable MIDI files away from the sound library.
#include "platform/midi_check.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QtEndian>
#include <random>

#include "music/sound_files.h"

namespace leafsong {
namespace {

QByteArray Greeting() {
    QFile f(QStringLiteral(":/leafsong/Birthday.mid"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A format-0 file with one track holding the given event bytes.
QByteArray OneTrack(const QByteArray& events, quint16 division = 480) {
    QByteArray midi = QByteArray::fromHex("4d546864000000060000 0001");
    midi.append(char(division >> 8)).append(char(division & 0xff));
    midi += "MTrk";
    char length[4];
    qToBigEndian(quint32(events.size()), length);
    midi.append(length, 4);
    return midi + events;
}

TEST(MidiCheckTest, TellsMidiByItsFirstBytes) {
    EXPECT_TRUE(LooksLikeMidi(Greeting()));
    EXPECT_TRUE(LooksLikeMidi(test::RiffMidi(Greeting())));
    EXPECT_FALSE(LooksLikeMidi(test::ToneWav(10)));
    EXPECT_FALSE(LooksLikeMidi("This is a letter"));
    EXPECT_FALSE(LooksLikeMidi({}));
}

TEST(MidiCheckTest, SoundFilesPass) {
    ASSERT_FALSE(Greeting().isEmpty());
    EXPECT_TRUE(IsReadableMidi(Greeting()));
    EXPECT_TRUE(IsReadableMidi(test::MelodyMidi({60, 62, 64}, 200)));
    EXPECT_TRUE(IsReadableMidi(test::RiffMidi(test::MelodyMidi({60}, 200))));
    // Running status, a text meta event and a sysex message.
    EXPECT_TRUE(IsReadableMidi(OneTrack(
        QByteArray::fromHex("00ff030454756e65 00903c64 6040 3e64 00f0037e7ff7 00ff2f00"))));
    // A track that ends without its end-of-track event is read to its end all the same.
    EXPECT_TRUE(IsReadableMidi(OneTrack(QByteArray::fromHex("00903c64 60803c00"))));
}

TEST(MidiCheckTest, WhatWouldStallTheLibraryIsRefused) {
    const struct {
        const char* why;
        QByteArray file;
    } rows[] = {
        {"noise tracks", test::GarbageMidi()},
        {"system common message", OneTrack(QByteArray::fromHex("00f6 00ff2f00"))},
        {"note cut short", OneTrack(QByteArray::fromHex("00903c"))},
        {"meta longer than its track", OneTrack(QByteArray::fromHex("00ff0320 4142"))},
        {"meta without its length", OneTrack(QByteArray::fromHex("00ff"))},
        {"sysex longer than its track", OneTrack(QByteArray::fromHex("00f07f 00"))},
        {"tempo too short", OneTrack(QByteArray::fromHex("00ff510107 00ff2f00"))},
        {"zero division", OneTrack(QByteArray::fromHex("00ff2f00"), 0)},
        {"time-code division", OneTrack(QByteArray::fromHex("00ff2f00"), 0xe728)},
        {"track longer than the file", Greeting().left(Greeting().size() - 1)},
        {"format 2", QByteArray::fromHex("4d546864000000060002000101e0")},
        {"two tracks in format 0", QByteArray::fromHex("4d546864000000060000000201e0")},
        {"short header", QByteArray::fromHex("4d54686400000004000000")},
        {"chunk length that wraps",
         QByteArray::fromHex("4d546864000000060000000101e0 4d54726bfffffffc 00ff2f00")},
        {"RIFF without its data", QByteArray("RIFF\x04\0\0\0RMID", 12)},
        {"empty", QByteArray()},
    };
    for (const auto& row : rows) {
        EXPECT_FALSE(IsReadableMidi(row.file)) << row.why;
    }
}

// Every cut and many random changes of a good file: the guard always answers.
TEST(MidiCheckTest, MutatedFilesNeverTripIt) {
    const QByteArray good = Greeting();
    for (qsizetype n = 0; n <= good.size(); ++n) {
        IsReadableMidi(good.left(n));
        IsReadableMidi(test::RiffMidi(good.left(n)));
    }
    std::mt19937 rng(605);
    for (int i = 0; i < 20000; ++i) {
        QByteArray m = good;
        for (int k = std::uniform_int_distribution<int>(1, 8)(rng); k > 0; --k) {
            const auto at = std::uniform_int_distribution<qsizetype>(0, m.size() - 1)(rng);
            m[at] = char(rng() & 0xff);
        }
        IsReadableMidi(m);
    }
    SUCCEED();
}

}  // namespace
}  // namespace leafsong
