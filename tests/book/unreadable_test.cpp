#include "pages/marks.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "support/temp_folder.h"

namespace leafsong {
namespace {

TEST(MarksTest, MarkGoesAfterTheLastDot) {
    const std::pair<const char*, const char*> rows[] = {{"/a/Lake.jpg", "/a/Lake.(F)jpg"},
                                                        {"/a/b.c.jpg", "/a/b.c.(F)jpg"},
                                                        {"/x.y/A.JPG", "/x.y/A.(F)JPG"},
                                                        {"/相册/湖.Gif", "/相册/湖.(F)Gif"}};
    for (const auto& [p, m] : rows) {
        EXPECT_EQ(MarkedName(QString::fromUtf8(p)), QString::fromUtf8(m));
    }
}

class MarksFolderTest : public ::testing::Test {
protected:
    // Writes unreadable pictures (holding "text") and readable ones into the album folder.
    void Make(const char* bad, const char* good) const {
        for (const QString& n : QString::fromLatin1(bad).split(u' ', Qt::SkipEmptyParts)) {
            dir.write(QStringLiteral("album/") + n, "text");
        }
        for (const QString& n : QString::fromLatin1(good).split(u' ', Qt::SkipEmptyParts)) {
            dir.writePicture(QStringLiteral("album/") + n, 64, 48);
        }
    }
    QString at(const char* name) const { return album + u'/' + QString::fromLatin1(name); }
    QByteArray read(const char* name) const { return test::TempFolder::ReadFile(at(name)); }
    // The folder's files, then the listing after marking the first two unreadable ones.
    std::string Files() const {
        return QDir(album).entryList(QDir::Files, QDir::Name).join(u' ').toStdString();
    }
    std::string Paste() {
        File1.SetPath(album);
        marks.PasteMark(File1, Pic1);
        QStringList listed;
        for (int i = 0; i < File1.ListCount(); ++i) {
            listed << File1.List(i);
        }
        return listed.join(u' ').toStdString();
    }

    test::TempFolder dir;
    const QString album = dir.path(QStringLiteral("album"));
    MarkJournal journal{dir.path(QStringLiteral("state/marks.journal"))};
    Marks marks{&journal};
    Listing File1;
    PageBuffer Pic1;
};

TEST_F(MarksFolderTest, AnUnreadableHeadIsRenamedAndRestoredNeverMarkedTwiceNorWhenReadable) {
    Make("a.jpg c.jpg", "b.jpg");  // the third is not tested
    EXPECT_EQ(Paste(), "b.jpg c.jpg");
    EXPECT_EQ(Files(), "a.(F)jpg b.jpg c.jpg");
    ASSERT_EQ(journal.Load().size(), 1);
    EXPECT_EQ(journal.Load()[0].original, at("a.jpg"));
    marks.RemoveMark();
    EXPECT_EQ(Files(), "a.jpg b.jpg c.jpg");
    EXPECT_TRUE(journal.Load().isEmpty());
    // Again, as every opening spread does.
    Paste();
    marks.RemoveMark();
    Paste();
    EXPECT_EQ(Files(), "a.(F)jpg b.jpg c.jpg");
    // A picture that became readable is not marked again.
    marks.RemoveMark();
    Make("", "a.jpg");
    EXPECT_EQ(Paste(), "a.jpg b.jpg c.jpg");
    EXPECT_TRUE(marks.marked().isEmpty());
}

TEST_F(MarksFolderTest, BothOfTheFirstTwoInListingOrder) {
    Make("1.jpg 2.BMP 3.gif", "");
    EXPECT_EQ(Paste(), "3.gif");
    ASSERT_EQ(marks.marked().size(), 2);
    EXPECT_EQ(marks.marked()[0].marked, at("1.(F)jpg"));
    EXPECT_EQ(marks.marked()[1].marked, at("2.(F)BMP"));
}

TEST_F(MarksFolderTest, ATakenMarkNameIsNeverReplaced) {
    Make("a.jpg", "b.jpg");
    dir.write(QStringLiteral("album/a.(F)jpg"), "the user's own file");
    EXPECT_EQ(Paste(), "b.jpg");  // left out in memory, so as not to stick on it
    EXPECT_TRUE(marks.marked().isEmpty() && journal.Load().isEmpty());
    EXPECT_EQ(read("a.jpg"), "text");
    marks.RemoveMark();
    EXPECT_EQ(read("a.(F)jpg"), "the user's own file");
}

TEST_F(MarksFolderTest, AReadOnlyFolderIsLeftAsItIs) {
    Make("a.jpg", "b.jpg");
    const QByteArray folder = QFile::encodeName(album);
    ::chmod(folder, 0555);
    if (::access(folder, W_OK) == 0) {
        ::chmod(folder, 0755);
        GTEST_SKIP() << "running with privileges that ignore folder permissions";
    }
    const std::string listed = Paste();
    ::chmod(folder, 0755);
    EXPECT_EQ(listed, "b.jpg");
    EXPECT_TRUE(marks.marked().isEmpty() && journal.Load().isEmpty());
    EXPECT_EQ(Files(), "a.jpg b.jpg");
}

TEST_F(MarksFolderTest, TheJournalGivesNamesBackAfterACrashButIsNeverFollowedBlindly) {
    Make("a.jpg b.jpg c.jpg d.jpg", "e.jpg");
    // Two runs end without RemoveMark: a and b are marked, then c and d.
    Paste();
    Paste();
    ASSERT_EQ(journal.Load().size(), 4);
    // c's marked file is replaced by another file; d's original name is taken meanwhile.
    QFile::remove(at("c.(F)jpg"));
    dir.write(QStringLiteral("album/c.(F)jpg"), "another file");
    dir.write(QStringLiteral("album/d.jpg"), "new d");
    // A record of a folder that is gone, and lines that are not records.
    dir.write(
        QStringLiteral("state/marks.journal"),
        test::TempFolder::ReadFile(journal.file()) +
            "mark1 1 2 3 L2dvbmUvYS5qcGc= L2dvbmUvYS4oRilqcGc=\ngarbage\n\x01\x02\x03 mark1 x y z\n"
            "mark1 1 2 3 !!! ???\nmark1 1 2");
    MarkJournal next(journal.file());
    EXPECT_EQ(next.Load().size(), 5);
    EXPECT_EQ(RestoreFromJournal(next), 2);
    EXPECT_EQ(Files(), "a.jpg b.jpg c.(F)jpg d.(F)jpg d.jpg e.jpg");
    EXPECT_EQ(read("c.(F)jpg"), "another file");
    EXPECT_EQ(read("d.jpg"), "new d");
    EXPECT_FALSE(QFile::exists(journal.file()));
}

}  // namespace
}  // namespace leafsong
