#include "decorgen/midi.h"

#include <array>
#include <cstdint>

namespace leafsong::decorgen {
namespace {

constexpr int kDivision = 480;  // ticks per quarter note
constexpr int kQuarter = kDivision;
constexpr int kDottedEighth = kDivision * 3 / 4;
constexpr int kSixteenth = kDivision / 4;
constexpr int kHalfNote = kDivision * 2;
constexpr int kDottedHalf = kDivision * 3;

struct Note {
    std::uint8_t pitch;  // MIDI key number, 60 = middle C
    int ticks;
};

enum : std::uint8_t { G4 = 67, A4 = 69, B4 = 71, C5 = 72, D5 = 74, E5 = 76, F5 = 77, G5 = 79 };

// The traditional melody in C major, starting on the pick-up beat.
constexpr std::array<Note, 25> kMelody{{
    {G4, kDottedEighth}, {G4, kSixteenth},  {A4, kQuarter}, {G4, kQuarter},
    {C5, kQuarter},      {B4, kHalfNote},

    {G4, kDottedEighth}, {G4, kSixteenth},  {A4, kQuarter}, {G4, kQuarter},
    {D5, kQuarter},      {C5, kHalfNote},

    {G4, kDottedEighth}, {G4, kSixteenth},  {G5, kQuarter}, {E5, kQuarter},
    {C5, kQuarter},      {B4, kQuarter},    {A4, kQuarter},

    {F5, kDottedEighth}, {F5, kSixteenth},  {E5, kQuarter}, {C5, kQuarter},
    {D5, kQuarter},      {C5, kDottedHalf},
}};

constexpr std::uint8_t kMusicBox = 10;  // General MIDI program 11, counted from 0
constexpr std::uint8_t kVelocity = 84;
constexpr int kMicrosecondsPerQuarter = 600000;  // 100 beats a minute

void PutVarLen(QByteArray& out, std::uint32_t v) {
    // Seven bits a byte, most significant first; every byte but the last has its top bit set.
    std::array<char, 4> bytes{};
    int n = 0;
    do {
        bytes[n++] = char(v & 0x7f);
        v >>= 7;
    } while (v != 0);
    while (n > 1) {
        out.append(char(bytes[--n] | 0x80));
    }
    out.append(bytes[0]);
}

void PutBigEndian(QByteArray& out, std::uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) {
        out.append(char((v >> (8 * i)) & 0xff));
    }
}

}  // namespace

QByteArray BirthdayTune() {
    QByteArray track;
    auto event = [&](std::uint32_t delta, std::initializer_list<std::uint8_t> bytes) {
        PutVarLen(track, delta);
        for (const std::uint8_t b : bytes) {
            track.append(char(b));
        }
    };
    event(0, {0xff, 0x51, 0x03, std::uint8_t(kMicrosecondsPerQuarter >> 16),
              std::uint8_t(kMicrosecondsPerQuarter >> 8), std::uint8_t(kMicrosecondsPerQuarter)});
    event(0, {0xff, 0x58, 0x04, 3, 2, 24, 8});  // 3/4 time
    event(0, {0xc0, kMusicBox});

    // Each note is released a little early so that repeated notes are heard as two.
    std::uint32_t rest = 0;
    for (const Note& n : kMelody) {
        const int gap = n.ticks / 8;
        event(rest, {0x90, n.pitch, kVelocity});
        event(std::uint32_t(n.ticks - gap), {0x80, n.pitch, 64});
        rest = std::uint32_t(gap);
    }
    event(rest + kQuarter, {0xff, 0x2f, 0x00});

    QByteArray file("MThd");
    PutBigEndian(file, 6, 4);
    PutBigEndian(file, 0, 2);  // format 0: a single track
    PutBigEndian(file, 1, 2);
    PutBigEndian(file, kDivision, 2);
    file.append("MTrk");
    PutBigEndian(file, std::uint32_t(track.size()), 4);
    file.append(track);
    return file;
}

}  // namespace leafsong::decorgen
