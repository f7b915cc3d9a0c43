#include "platform/profile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <random>

#include "support/temp_folder.h"

namespace leafsong {
namespace {

using test::TempFolder;

const QString kDefault = QString::fromLatin1(kDefaultWord);

QString Read(const QByteArray& content, const char* section, const char* key) {
    return ReadProfileText(content, QString::fromUtf8(section), QString::fromUtf8(key));
}

struct ReadCase {
    const char* name;
    QByteArray content;
    const char* section;
    const char* key;
    QString expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadRules : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadRules, GivesTheExpectedValue) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(Read(c.content, c.section, c.key), c.expected) << c.name;
}

// A literal with NULs inside, whole.
template <size_t N>
QByteArray Raw(const char (&s)[N]) {
    return QByteArray(s, N - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Profile, ReadRules,
    ::testing::Values(
        ReadCase{"plain", "[Show]\nLoop=T\n", "Show", "Loop", QStringLiteral("T")},
        ReadCase{"names ignore case", "[sHoW]\nLOOP=T\n", "Show", "loop", QStringLiteral("T")},
        ReadCase{"value keeps its case", "[Show]\nLoop=t\n", "Show", "Loop", QStringLiteral("t")},
        ReadCase{"blanks around names", "  [ Show\t]  \n\t Loop  =T\n", "Show", "Loop",
                 QStringLiteral("T")},
        ReadCase{"requested names trimmed", "[Show]\nLoop=T\n", " Show ", "\tLoop",
                 QStringLiteral("T")},
        ReadCase{"leading blanks of value dropped", "[S]\nk=  \tv w\n", "S", "k",
                 QStringLiteral("v w")},
        ReadCase{"trailing spaces dropped", "[S]\nk=/a b   \n", "S", "k", QStringLiteral("/a b")},
        ReadCase{"first = splits", "[S]\nk=a=b\n", "S", "k", QStringLiteral("a=b")},
        ReadCase{"empty value", "[S]\nk=\n", "S", "k", kDefault},
        ReadCase{"only spaces", "[S]\nk=    \n", "S", "k", kDefault},
        ReadCase{"key without =", "[S]\nk\n", "S", "k", kDefault},
        ReadCase{"missing key", "[S]\nother=1\n", "S", "k", kDefault},
        ReadCase{"missing section", "[T]\nk=1\n", "S", "k", kDefault},
        ReadCase{"key before any section", "k=1\n[S]\n", "S", "k", kDefault},
        ReadCase{"key of another section", "[S]\nx=1\n[T]\nk=2\n", "S", "k", kDefault},
        ReadCase{"empty content", "", "S", "k", kDefault},
        ReadCase{"value ends at NUL", Raw("[S]\nk=ab\0cd\n"), "S", "k", QStringLiteral("ab")},
        ReadCase{"NUL first", Raw("[S]\nk=\0cd\n"), "S", "k", kDefault},
        ReadCase{"spaces before NUL", Raw("[S]\nk=ab  \0cd\n"), "S", "k", QStringLiteral("ab")},
        ReadCase{"NUL in another line", Raw("[S]\nj=\0\0\nk=v\n"), "S", "k", QStringLiteral("v")},
        ReadCase{"CRLF", "[S]\r\nk=v\r\nj=w\r\n", "S", "k", QStringLiteral("v")},
        ReadCase{"CRLF last key", "[S]\r\nk=v\r\nj=w\r\n", "S", "j", QStringLiteral("w")},
        ReadCase{"no final newline", "[S]\nk=v", "S", "k", QStringLiteral("v")},
        ReadCase{"first key wins", "[S]\nk=1\nK=2\n", "S", "k", QStringLiteral("1")},
        ReadCase{"first section wins", "[S]\nj=1\n[s]\nk=2\n", "S", "k", kDefault},
        ReadCase{"blank lines inside section", "[S]\n\n  \nk=v\n", "S", "k", QStringLiteral("v")},
        ReadCase{"byte order mark", "\xEF\xBB\xBF[S]\nk=v\n", "S", "k", QStringLiteral("v")},
        ReadCase{"UTF-8 value", "[S]\nk=/照片/春\n", "S", "k", QStringLiteral("/照片/春")},
        ReadCase{"UTF-8 names", "[节]\n键=值\n", "节", "键", QStringLiteral("值")},
        ReadCase{"bracket without close", "[S\nk=v\n", "S", "k", QStringLiteral("v")}),
    [](const ::testing::TestParamInfo<ReadCase>& row) { return std::to_string(row.index); });

TEST(ProfileRead, LongValueIsCutOnACharacterBoundary) {
    // 4094 ASCII bytes then 3-byte characters: byte 4095 falls inside the first one.
    const QByteArray head(4094, 'a');
    QByteArray value = head;
    while (value.size() < 5000) {
        value += "春";
    }
    const QString got =
        ReadProfileText("[S]\nk=" + value + "\n", QStringLiteral("S"), QStringLiteral("k"));
    EXPECT_EQ(got.toUtf8(), head);

    // 4092 + one 3-byte character fits exactly.
    const QByteArray exact = QByteArray(4092, 'b') + "春";
    EXPECT_EQ(ReadProfileText("[S]\nk=" + exact + "ccc\n", QStringLiteral("S"), QStringLiteral("k"))
                  .toUtf8(),
              exact);

    const QByteArray ascii(5000, 'x');
    EXPECT_EQ(ReadProfileText("[S]\nk=" + ascii, QStringLiteral("S"), QStringLiteral("k")).toUtf8(),
              ascii.left(kMaxProfileValue));
}

TEST(ProfileRead, MegabyteLinesDoNotHideLaterKeys) {
    const QByteArray big(1 << 20, 'z');
    const QByteArray content = "[S]\n" + big + "\n" + big + "=" + big + "\nk=v\n[" + big + "]\n";
    EXPECT_EQ(Read(content, "S", "k"), QStringLiteral("v"));
    EXPECT_EQ(Read("[S]\nk=" + big, "S", "k").size(), kMaxProfileValue);
}

TEST(ProfileRead, BinaryGarbageNeverBreaksTheReader) {
    std::mt19937 rng(1234);
    for (int round = 0; round < 300; ++round) {
        QByteArray junk(static_cast<qsizetype>(rng() % 20000), '\0');
        for (char& c : junk) {
            c = static_cast<char>(rng());
        }
        const QString got = Read(junk, "S", "k");
        ASSERT_FALSE(got.isEmpty());
        ASSERT_LE(got.size(), kMaxProfileValue);
        // Garbage before a section must not swallow it.
        ASSERT_EQ(Read(junk + "\n[S]\nk=v\n", "S", "k"), QStringLiteral("v")) << round;
    }
}

TEST(ProfileRead, Files) {
    TempFolder tmp;
    EXPECT_EQ(ReadProfile(tmp.path(QStringLiteral("missing.ini")), QStringLiteral("S"),
                          QStringLiteral("k")),
              kDefault);
    // A folder in place of the file.
    QDir().mkpath(tmp.path(QStringLiteral("dir.ini")));
    EXPECT_EQ(
        ReadProfile(tmp.path(QStringLiteral("dir.ini")), QStringLiteral("S"), QStringLiteral("k")),
        kDefault);
    const QString f = tmp.write(QStringLiteral("a.ini"), "[S]\r\nk=照片 \r\n");
    EXPECT_EQ(ReadProfile(f, QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("照片"));
}

// --- writing ---

struct WriteCase {
    const char* name;
    QByteArray before;
    const char* section;
    const char* key;
    const char* value;
    QByteArray after;
    const char* readBack = nullptr;  // when not the value itself
};

void PrintTo(const WriteCase& c, std::ostream* os) {
    *os << c.name;
}

class WriteRules : public ::testing::TestWithParam<WriteCase> {};

TEST_P(WriteRules, ChangesOnlyTheKey) {
    const WriteCase& c = GetParam();
    const QByteArray got = WriteProfileText(c.before, QString::fromUtf8(c.section),
                                            QString::fromUtf8(c.key), QString::fromUtf8(c.value));
    EXPECT_EQ(got, c.after) << c.name;
    EXPECT_EQ(Read(got, c.section, c.key), QString::fromUtf8(c.readBack ? c.readBack : c.value))
        << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Profile, WriteRules,
    ::testing::Values(
        WriteCase{"empty file", "", "S", "k", "v", "[S]\nk=v\n"},
        WriteCase{"replace keeps CRLF and neighbours",
                  "; note\r\n[A]\r\nk=old\r\n[S]\r\nx = 1 \r\nK = old  \r\ny=2\r\n", "S", "k",
                  "new", "; note\r\n[A]\r\nk=old\r\n[S]\r\nx = 1 \r\nk=new\r\ny=2\r\n"},
        WriteCase{"replace only the first", "[S]\nk=1\nk=2\n[s]\nk=3\n", "S", "k", "9",
                  "[S]\nk=9\nk=2\n[s]\nk=3\n"},
        WriteCase{"replace last line without newline", "[S]\nk=1", "S", "k", "2", "[S]\nk=2"},
        WriteCase{"add key at end of section", "[S]\nx=1\n\n[T]\ny=2\n", "S", "k", "v",
                  "[S]\nx=1\nk=v\n\n[T]\ny=2\n"},
        WriteCase{"add key after header alone", "[S]\n[T]\n", "S", "k", "v", "[S]\nk=v\n[T]\n"},
        WriteCase{"add key to last section without newline", "[S]\nx=1", "S", "k", "v",
                  "[S]\nx=1\nk=v\n"},
        WriteCase{"add section", "[T]\ny=2\n", "S", "k", "v", "[T]\ny=2\n[S]\nk=v\n"},
        WriteCase{"add section after missing newline", "[T]\ny=2", "S", "k", "v",
                  "[T]\ny=2\n[S]\nk=v\n"},
        WriteCase{"line break in value is not stored", "", "S", "k", "a\n[S]\nk=b", "[S]\nk=a\n",
                  "a"},
        WriteCase{"UTF-8 value", "[S]\nk=x\n", "S", "k", "/相册/春天", "[S]\nk=/相册/春天\n"},
        WriteCase{"keeps a byte order mark", "\xEF\xBB\xBF[S]\nk=1\n", "S", "k", "2",
                  "\xEF\xBB\xBF[S]\nk=2\n"},
        WriteCase{"binary elsewhere kept", Raw("[B]\n\x01\xFF\0\x80=\0\n[S]\nk=1\n"), "S", "k", "2",
                  Raw("[B]\n\x01\xFF\0\x80=\0\n[S]\nk=2\n")}),
    [](const ::testing::TestParamInfo<WriteCase>& row) { return std::to_string(row.index); });

// Writing a key and reading it back agree on every line shape, and no other key changes.
TEST(ProfileWrite, RoundTripsOverRandomContent) {
    const std::vector<QByteArray> pieces = {"[",  "]",       "=",    " ", "\t", "\r",  "\n",
                                            "a",  "A",       "b",    "B", "ab", "[a]", "[A ]",
                                            "b=", Raw("\0"), "\xE4", ";", "x",  "[b]"};
    const std::vector<const char*> names = {"a", "b", "ab"};
    std::mt19937 rng(99);
    for (int round = 0; round < 2000; ++round) {
        QByteArray content;
        const int n = static_cast<int>(rng() % 40);
        for (int i = 0; i < n; ++i) {
            content += pieces[rng() % pieces.size()];
        }
        const char* section = names[rng() % names.size()];
        const char* key = names[rng() % names.size()];
        const QByteArray after =
            WriteProfileText(content, QString::fromLatin1(section), QString::fromLatin1(key),
                             QStringLiteral("v%1").arg(round));
        ASSERT_EQ(Read(after, section, key), QStringLiteral("v%1").arg(round))
            << content.toPercentEncoding().constData();
        for (const char* s : names) {
            for (const char* k : names) {
                if (qstricmp(s, section) == 0 && qstricmp(k, key) == 0) {
                    continue;
                }
                ASSERT_EQ(Read(after, s, k), Read(content, s, k))
                    << content.toPercentEncoding().constData() << " " << s << "/" << k;
            }
        }
    }
}

TEST(ProfileWrite, FilesRoundTripChineseAsUtf8) {
    TempFolder tmp;
    const QString f = tmp.path(QStringLiteral("new.ini"));
    const QString value = QStringLiteral("/home/用户/相册");
    ASSERT_TRUE(WriteProfile(f, QStringLiteral("Pointer"), QStringLiteral("PicturePath"), value));
    EXPECT_EQ(tmp.read(QStringLiteral("new.ini")),
              QByteArray("[Pointer]\nPicturePath=") + value.toUtf8() + "\n");
    EXPECT_EQ(ReadProfile(f, QStringLiteral("pointer"), QStringLiteral("picturepath")), value);
}

TEST(ProfileWrite, SeveralValuesInOneWrite) {
    TempFolder tmp;
    const QString f = tmp.write(QStringLiteral("s.ini"), "# kept\r\n[B]\r\nz=0\r\n");
    ASSERT_TRUE(
        WriteProfileValues(f, {{QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("1")},
                               {QStringLiteral("B"), QStringLiteral("y"), QStringLiteral("2")},
                               {QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("3")}}));
    EXPECT_EQ(tmp.read(QStringLiteral("s.ini")),
              QByteArray("# kept\r\n[B]\r\nz=0\r\ny=2\n[A]\nx=3\n"));
}

TEST(ProfileWrite, RefusesWithoutDestroying) {
    TempFolder tmp;
    const QString dir = tmp.path(QStringLiteral("dir.ini"));
    tmp.write(QStringLiteral("dir.ini/inside.txt"), "keep");
    EXPECT_FALSE(WriteProfile(dir, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v")));
    EXPECT_TRUE(QFileInfo(dir).isDir());
    EXPECT_EQ(tmp.read(QStringLiteral("dir.ini/inside.txt")), QByteArray("keep"));

    // A file inside a folder that does not exist cannot be written either.
    EXPECT_FALSE(WriteProfile(tmp.path(QStringLiteral("no/such/x.ini")), QStringLiteral("S"),
                              QStringLiteral("k"), QStringLiteral("v")));
    EXPECT_FALSE(QFileInfo::exists(tmp.path(QStringLiteral("no"))));
}

}  // namespace
}  // namespace leafsong
