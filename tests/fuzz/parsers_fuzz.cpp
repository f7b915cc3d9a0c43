// Damaged input for the MIDI guard, profile reader and picture loader: what they accept holds.
#include <gtest/gtest.h>

#include <random>

#include "book/page_buffer.h"
#include "platform/midi_check.h"
#include "platform/profile.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

using namespace Qt::StringLiterals;

// A few bytes of good changed at random, and every third copy cut short.
QByteArray Damaged(const QByteArray& good, std::mt19937& rng) {
    QByteArray m = good;
    for (int k = 1 + int(rng() % 8); k > 0; --k) {
        m[qsizetype(rng() % m.size())] = char(rng());
    }
    return rng() % 3 ? m : m.left(qsizetype(rng() % m.size()));
}

TEST(MidiCheckFuzz, AcceptsOnlyFilesWithinTheirDeclaredLengths) {
    const QByteArray tune = test::TempFolder::ReadFile(u":/leafsong/Birthday.mid"_s);
    ASSERT_TRUE(IsReadableMidi(tune));  // the greeting tune itself
    std::mt19937 rng(605);
    int accepted = 0;
    for (int i = 0; i < 100000; ++i) {
        const QByteArray m = Damaged(tune, rng);
        accepted += IsReadableMidi(m);
        // A chunk that runs past the end of the file is never read.
        ASSERT_FALSE(IsReadableMidi(m) && IsReadableMidi(m.chopped(1))) << m.toHex().toStdString();
    }
    EXPECT_GT(accepted, 100);  // the property was put to the test
}

TEST(ProfileFuzz, GarbageNeverHidesAValueWrittenIntoIt) {
    std::mt19937 rng(1234);
    for (int round = 0; round < 300; ++round) {
        QByteArray junk(qsizetype(rng() % 20000), '\0');
        for (char& c : junk) {
            c = char(rng() % 4 ? rng() : "[]=\nSk"[rng() % 6]);
        }
        const QString got = ReadProfileText(junk, u"S"_s, u"k"_s);
        ASSERT_TRUE(!got.isEmpty() && got.toUtf8().size() <= kMaxProfileValue) << round;
        const QByteArray written = WriteProfileText(junk, u"S"_s, u"k"_s, u"照片 v"_s);
        ASSERT_EQ(ReadProfileText(written, u"S"_s, u"k"_s), u"照片 v"_s) << round;
    }
}

TEST(DecodePictureFuzz, ADecodedPictureIsStoredAtItsLimitedSize) {
    const test::TempFolder dir;
    std::mt19937 rng(77);
    for (const QString& good :
         {dir.writePicture(u"a.jpg"_s, 900, 40), dir.writePicture(u"b.bmp"_s, 30, 20)}) {
        for (int i = 0; i < 1000; ++i) {
            const auto p =
                DecodePicture(dir.write(u"p"_s, Damaged(test::TempFolder::ReadFile(good), rng)));
            ASSERT_TRUE(!p || (p->image.format() == QImage::Format_RGB32 && !p->logical.isEmpty() &&
                               p->image.size() == StoredSizeFor(p->logical)));
        }
    }
}

}  // namespace
}  // namespace leafsong
