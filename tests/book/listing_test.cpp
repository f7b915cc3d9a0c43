#include "pages/listing.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "support/temp_folder.h"

namespace leafsong {
namespace {

TEST(ListingTest, PatternIgnoresLetterCaseAndSortingFollowsAFileManager) {
    const std::pair<const char*, bool> rows[] = {
        {"a.jpg", true},  {"02.JPG", true},     {"03.Gif", true},   {"b.bmp", true},
        {"湖.jpg", true}, {".jpg", true},       {"c.jpeg", false},  {"d.png", false},
        {"jpg", false},   {"e.jpg.txt", false}, {"f.(F)jpg", false}};
    for (const auto& [n, m] : rows) {
        EXPECT_EQ(MatchesPicturePattern(QString::fromUtf8(n)), m) << n;
    }
    QStringList names = QStringLiteral("10 b.jpg|2 a.jpg|B.jpg|a.jpg|1 c.jpg|A.JPG").split(u'|');
    SortLikeFileManager(names);
    EXPECT_EQ(names.join(u'|'), QStringLiteral("1 c.jpg|2 a.jpg|10 b.jpg|A.JPG|a.jpg|B.jpg"));
}

TEST(ListingTest, ListsMatchingFilesOnlyAndAMissingFolderIsEmpty) {
    test::TempFolder dir;
    for (const QString& n :
         QStringLiteral("01.jpg 02.JPG 03.Gif 04.bmp 05.jpeg a.txt .h.jpg").split(u' ')) {
        dir.write(n, "x");
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

    l.SetPath(dir.path(QStringLiteral("missing")));
    EXPECT_EQ(l.ListCount(), 0);
    l.SetPath(QStringLiteral("Harrowfen"));
    EXPECT_EQ(l.ListCount(), 0);
}

TEST(ListingTest, AnUnreadableFolderIsEmpty) {
    test::TempFolder dir;
    dir.write(QStringLiteral("locked/a.jpg"), "x");
    const QByteArray locked = QFile::encodeName(dir.path(QStringLiteral("locked")));
    ::chmod(locked, 0);
    const bool ignored = ::access(locked, R_OK) == 0;
    Listing l;
    l.SetPath(QFile::decodeName(locked));
    ::chmod(locked, 0700);
    if (ignored) {
        GTEST_SKIP() << "running with privileges that ignore folder permissions";
    }
    EXPECT_EQ(l.ListCount(), 0);
}

}  // namespace
}  // namespace leafsong
