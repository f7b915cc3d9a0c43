// The greeting tune as the program embeds it: a valid standard MIDI file that plays the right
// melody in time.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QList>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <optional>

namespace {

struct MidiNote {
    int pitch;
    std::uint32_t on;  // ticks from the start
    std::uint32_t off;
};

struct MidiTrack {
    QList<MidiNote> notes;
    std::optional<int> microsecondsPerQuarter;
    std::optional<std::uint32_t> programTick;  // when the first program change comes
    bool ended = false;                        // end-of-track seen as the last event
    QString error;
};

// Walks one track's events (running status included) the way a player does.
MidiTrack ParseTrack(const QByteArray& data) {
    MidiTrack t;
    const auto* p = reinterpret_cast<const std::uint8_t*>(data.constData());
    const qsizetype n = data.size();
    qsizetype i = 0;
    auto varLen = [&](std::uint32_t& v) {
        v = 0;
        for (int k = 0; k < 4; ++k) {
            if (i >= n) {
                return false;
            }
            const std::uint8_t b = p[i++];
            v = (v << 7) | (b & 0x7f);
            if ((b & 0x80) == 0) {
                return true;
            }
        }
        return false;
    };
    QHash<int, std::uint32_t> sounding;  // pitch -> tick of its note-on
    std::uint32_t tick = 0;
    std::uint8_t status = 0;
    while (i < n) {
        if (t.ended) {
            t.error = QStringLiteral("events after end-of-track");
            return t;
        }
        std::uint32_t delta = 0;
        if (!varLen(delta)) {
            t.error = QStringLiteral("bad delta time");
            return t;
        }
        tick += delta;
        if (i >= n) {
            t.error = QStringLiteral("truncated event");
            return t;
        }
        if (p[i] & 0x80) {
            status = p[i++];
        } else if (status == 0 || status >= 0xf0) {
            t.error = QStringLiteral("running status without a status");
            return t;
        }
        if (status == 0xff) {
            if (i >= n) {
                t.error = QStringLiteral("truncated meta event");
                return t;
            }
            const std::uint8_t type = p[i++];
            std::uint32_t len = 0;
            if (!varLen(len) || i + qsizetype(len) > n) {
                t.error = QStringLiteral("bad meta length");
                return t;
            }
            if (type == 0x51 && len == 3) {
                t.microsecondsPerQuarter = p[i] << 16 | p[i + 1] << 8 | p[i + 2];
            } else if (type == 0x2f) {
                t.ended = true;
            }
            i += len;
            status = 0;  // meta events cancel running status
            continue;
        }
        if (status == 0xf0 || status == 0xf7) {
            std::uint32_t len = 0;
            if (!varLen(len) || i + qsizetype(len) > n) {
                t.error = QStringLiteral("bad sysex length");
                return t;
            }
            i += len;
            status = 0;
            continue;
        }
        const int kind = status & 0xf0;
        const int size = kind == 0xc0 || kind == 0xd0 ? 1 : 2;
        if (i + size > n) {
            t.error = QStringLiteral("truncated channel event");
            return t;
        }
        const int d1 = p[i];
        const int d2 = size == 2 ? p[i + 1] : 0;
        i += size;
        if (d1 > 0x7f || d2 > 0x7f) {
            t.error = QStringLiteral("data byte with the top bit set");
            return t;
        }
        if (kind == 0xc0 && !t.programTick) {
            t.programTick = tick;
        } else if (kind == 0x90 && d2 > 0) {
            if (sounding.contains(d1)) {
                t.error = QStringLiteral("note started twice");
                return t;
            }
            sounding.insert(d1, tick);
        } else if (kind == 0x80 || (kind == 0x90 && d2 == 0)) {
            if (!sounding.contains(d1)) {
                t.error = QStringLiteral("note released that was not playing");
                return t;
            }
            t.notes.append({d1, sounding.take(d1), tick});
        }
    }
    if (!t.ended) {
        t.error = QStringLiteral("no end-of-track");
    } else if (!sounding.isEmpty()) {
        t.error = QStringLiteral("notes still sounding at the end");
    }
    std::sort(t.notes.begin(), t.notes.end(),
              [](const MidiNote& a, const MidiNote& b) { return a.on < b.on; });
    return t;
}

quint32 BigEndian(const QByteArray& b, qsizetype at, int bytes) {
    quint32 v = 0;
    for (int k = 0; k < bytes; ++k) {
        v = v << 8 | std::uint8_t(b[at + k]);
    }
    return v;
}

QByteArray Tune() {
    QFile f(QStringLiteral(":/leafsong/Birthday.mid"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(GreetingTune, IsAStandardMidiFileWithOneTrack) {
    const QByteArray midi = Tune();
    ASSERT_GE(midi.size(), 22) << "tune missing or too short";
    EXPECT_EQ(midi.left(4), QByteArray("MThd"));
    EXPECT_EQ(BigEndian(midi, 4, 4), 6u);
    EXPECT_EQ(BigEndian(midi, 8, 2), 0u) << "format";
    EXPECT_EQ(BigEndian(midi, 10, 2), 1u) << "tracks";
    EXPECT_EQ(BigEndian(midi, 12, 2), 480u) << "ticks per quarter note";
    EXPECT_EQ(midi.mid(14, 4), QByteArray("MTrk"));
    EXPECT_EQ(qsizetype(BigEndian(midi, 18, 4)), midi.size() - 22)
        << "the track's length must cover exactly the rest of the file";
}

TEST(GreetingTune, PlaysTheBirthdaySong) {
    const QByteArray midi = Tune();
    ASSERT_GE(midi.size(), 22);
    const MidiTrack t = ParseTrack(midi.mid(22));
    ASSERT_TRUE(t.error.isEmpty()) << t.error.toStdString();
    ASSERT_TRUE(t.microsecondsPerQuarter.has_value()) << "no tempo";
    EXPECT_GE(*t.microsecondsPerQuarter, 60000000 / 200);
    EXPECT_LE(*t.microsecondsPerQuarter, 60000000 / 40);
    ASSERT_TRUE(t.programTick.has_value()) << "no instrument chosen";
    ASSERT_EQ(t.notes.size(), 25);
    EXPECT_LE(*t.programTick, t.notes[0].on);

    // Pitch of every note above the first one, in semitones; the song may be in any key.
    // "Happy birthday to you" twice, "happy birthday dear ...", "happy birthday to you".
    constexpr int kAboveFirst[25] = {0, 0,  2, 0, 5, 4, 0,  0,  2, 0, 7, 5, 0,
                                     0, 12, 9, 5, 4, 2, 10, 10, 9, 5, 7, 5};
    for (int i = 0; i < 25; ++i) {
        EXPECT_EQ(t.notes[i].pitch - t.notes[0].pitch, kAboveFirst[i]) << "note " << i + 1;
    }
    // In 3/4 after a one-beat pick-up, these notes open the eight bars.
    constexpr int kBarOpeners[8] = {2, 5, 8, 11, 14, 17, 21, 24};
    for (int bar = 0; bar < 8; ++bar) {
        EXPECT_EQ(t.notes[kBarOpeners[bar]].on, 480u + 1440u * bar) << "bar " << bar + 1;
    }
    for (int i = 0; i + 1 < 25; ++i) {
        EXPECT_LT(t.notes[i].on, t.notes[i].off) << "note " << i + 1 << " has no length";
        EXPECT_LE(t.notes[i].off, t.notes[i + 1].on) << "note " << i + 1 << " overlaps the next";
    }
}

// The parser above must itself reject broken tracks, or the test proves nothing.
TEST(GreetingTune, ParserRejectsBrokenTracks) {
    struct Broken {
        const char* what;
        QByteArray track;
    };
    const Broken cases[] = {
        {"no end", QByteArray("\x00\x90\x40\x50\x10\x80\x40\x40", 8)},
        {"hanging note", QByteArray("\x00\x90\x40\x50\x00\xff\x2f\x00", 8)},
        {"events after end", QByteArray("\x00\xff\x2f\x00\x00\x90\x40\x50", 8)},
        {"cut delta", QByteArray("\x00\x90\x40\x50\x81", 5)},
        {"cut note", QByteArray("\x00\x90\x40", 3)},
    };
    for (const Broken& c : cases) {
        EXPECT_FALSE(ParseTrack(c.track).error.isEmpty()) << c.what;
    }
    // Running status and note-on with velocity 0 as a release are valid.
    const MidiTrack ok = ParseTrack(
        QByteArray("\x00\x90\x40\x50\x60\x40\x00\x00\x42\x50\x60\x42\x00\x00\xff\x2f\x00", 17));
    EXPECT_TRUE(ok.error.isEmpty()) << ok.error.toStdString();
    ASSERT_EQ(ok.notes.size(), 2);
    EXPECT_EQ(ok.notes[1].on, 96u);
    EXPECT_EQ(ok.notes[1].off, 192u);
}

}  // namespace
