#include "platform/profile.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <random>

#include "support/temp_folder.h"

namespace leafsong {
namespace {

QByteArray Read(const QByteArray& content, const char* section = "S", const char* key = "k") {
    return ReadProfileText(content, QString::fromUtf8(section), QString::fromUtf8(key)).toUtf8();
}

TEST(Profile, ReadRules) {
    const QByteArray big(1 << 20, 'z');
    QByteArray longValue(4094, 'a');  // then 3-byte characters: byte 4095 is inside one
    while (longValue.size() < 5000) {
        longValue += "春";
    }
    const struct {
        QByteArray content, want;
    } rows[] = {
        {"[s]\nK=T\n", "T"},  // names ignore case
        {"[S]\nk=/a b   \n", "/a b"},
        {"[S]\nk=  \n", kDefaultWord},
        {"[T]\nk=1\n", kDefaultWord},
        {"[S]\nj=1\n", kDefaultWord},
        {"", kDefaultWord},
        {QByteArrayLiteral("[S]\nk=ab\0cd\n"), "ab"},
        {"[S]\r\nj=w\r\nk=v\r\n", "v"},
        {"[S]\nk=v", "v"},
        {"[S]\nk=" + longValue + "\n", QByteArray(4094, 'a')},
        {"[S]\n" + big + "=" + big + "\nk=v\n", "v"},
        {"[S]\nk=" + big, big.left(kMaxProfileValue)},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(Read(r.content), r.want) << r.content.left(30).toStdString();
    }
    EXPECT_EQ(ReadProfile(QStringLiteral("/no/such.ini"), QStringLiteral("S"), QStringLiteral("k")),
              QLatin1String(kDefaultWord));
}

TEST(Profile, BinaryGarbageNeverBreaksTheReader) {
    std::mt19937 rng(1234);
    for (int round = 0; round < 100; ++round) {
        QByteArray junk(qsizetype(rng() % 20000), '\0');
        for (char& c : junk) {
            c = char(rng());
        }
        const QByteArray got = Read(junk);
        ASSERT_TRUE(!got.isEmpty() && got.size() <= kMaxProfileValue) << round;
        ASSERT_EQ(Read(junk + "\n[S]\nk=v\n"), "v") << round;
    }
}

TEST(Profile, WriteRules) {
    const struct {
        QByteArray before, after;
    } rows[] = {
        {"", "[S]\nk=v\n"},
        {"; c\r\n[A]\r\nk=1\r\n[S]\r\nx = 1 \r\nK = 1  \r\ny=2\r\n",
         "; c\r\n[A]\r\nk=1\r\n[S]\r\nx = 1 \r\nk=v\r\ny=2\r\n"},
        {"[S]\nx=1\n\n[T]\ny=2\n", "[S]\nx=1\nk=v\n\n[T]\ny=2\n"},
        {"[T]\ny=2", "[T]\ny=2\n[S]\nk=v\n"},
        {QByteArrayLiteral("[B]\n\x01\xFF\0=\0\n[S]\nk=1\n"),
         QByteArrayLiteral("[B]\n\x01\xFF\0=\0\n[S]\nk=v\n")},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(WriteProfileText(r.before, QStringLiteral("S"), QStringLiteral("k"),
                                   QStringLiteral("v")),
                  r.after);
    }
}

TEST(Profile, WritesFilesAndRefusesAFolder) {
    const test::TempFolder tmp;
    const QString file = tmp.write(QStringLiteral("a.ini"), "[X]\r\ny=1\r\n");
    ASSERT_TRUE(
        WriteProfile(file, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("照片")));
    EXPECT_EQ(tmp.read(QStringLiteral("a.ini")), QByteArray("[X]\r\ny=1\r\n[S]\nk=照片\n"));

    tmp.write(QStringLiteral("d.ini/keep.txt"), "keep");
    EXPECT_FALSE(WriteProfile(tmp.path(QStringLiteral("d.ini")), QStringLiteral("S"),
                              QStringLiteral("k"), QStringLiteral("v")));
    EXPECT_TRUE(QFileInfo(tmp.path(QStringLiteral("d.ini"))).isDir());
    EXPECT_EQ(tmp.read(QStringLiteral("d.ini/keep.txt")), QByteArray("keep"));
}

}  // namespace
}  // namespace leafsong
