#include "pages/listing.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "support/temp_folder.h"

namespace leafsong {
namespace {

TEST(ListingTest, PatternIgnoresLetterCase) {
    struct Row {
        const char* name;
        bool match;
    };
    const Row rows[] = {{"a.jpg", true},  {"02.JPG", true},     {"03.Gif", true},
                        {"b.bmp", true},  {"c.jpeg", false},    {"d.png", false},
                        {"jpg", false},   {"e.jpg.txt", false}, {"f.(F)jpg", false},
                        {"湖.jpg", true}, {".jpg", true}};
    for (const Row& r : rows) {
        EXPECT_EQ(MatchesPicturePattern(QString::fromUtf8(r.name)), r.match) << r.name;
    }
}

TEST(ListingTest, SortsLikeAFileManager) {
    QStringList names{QStringLiteral("10 b.jpg"), QStringLiteral("2 a.jpg"),
                      QStringLiteral("B.jpg"),    QStringLiteral("a.jpg"),
                      QStringLiteral("1 c.jpg"),  QStringLiteral("A.JPG")};
    SortLikeFileManager(names);
    EXPECT_EQ(names, (QStringList{QStringLiteral("1 c.jpg"), QStringLiteral("2 a.jpg"),
                                  QStringLiteral("10 b.jpg"), QStringLiteral("A.JPG"),
                                  QStringLiteral("a.jpg"), QStringLiteral("B.jpg")}));
}

TEST(ListingTest, ListsMatchingFilesOnly) {
    test::TempFolder dir;
    for (const char* name :
         {"01.jpg", "02.JPG", "03.Gif", "04.bmp", "05.jpeg", "notes.txt", ".hidden.jpg"}) {
        dir.write(QString::fromLatin1(name), "x");
    }
    QDir().mkpath(dir.path(QStringLiteral("folder.jpg")));
    Listing l;
    l.SetPath(dir.path());
    EXPECT_EQ(l.ListCount(), 4);
    EXPECT_EQ(l.List(0), QStringLiteral("01.jpg"));
    EXPECT_EQ(l.List(2), QStringLiteral("03.Gif"));
    EXPECT_EQ(l.FullPath(3), dir.path(QStringLiteral("04.bmp")));
    EXPECT_EQ(l.List(9), QString());

    dir.write(QStringLiteral("00.gif"), "x");
    EXPECT_EQ(l.ListCount(), 4);  // read again only when asked
    l.Refresh();
    EXPECT_EQ(l.ListCount(), 5);
    EXPECT_EQ(l.List(0), QStringLiteral("00.gif"));
}

TEST(ListingTest, MissingOrUnreadableFoldersAreEmpty) {
    test::TempFolder dir;
    Listing l;
    l.SetPath(dir.path(QStringLiteral("missing")));
    EXPECT_EQ(l.ListCount(), 0);
    l.SetPath(QStringLiteral("Harrowfen"));
    EXPECT_EQ(l.ListCount(), 0);

    const QString locked = dir.path(QStringLiteral("locked"));
    dir.write(QStringLiteral("locked/a.jpg"), "x");
    ::chmod(QFile::encodeName(locked).constData(), 0);
    if (::access(QFile::encodeName(locked).constData(), R_OK) == 0) {
        ::chmod(QFile::encodeName(locked).constData(), 0700);
        GTEST_SKIP() << "running with privileges that ignore folder permissions";
    }
    l.SetPath(locked);
    EXPECT_EQ(l.ListCount(), 0);
    ::chmod(QFile::encodeName(locked).constData(), 0700);
}

}  // namespace
}  // namespace leafsong
