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
    const std::pair<const char*, const char*> rows[] = {
        {"/album/Lake.jpg", "/album/Lake.(F)jpg"},
        {"/album/a.b.jpg", "/album/a.b.(F)jpg"},
        {"/x.y/A.JPG", "/x.y/A.(F)JPG"},
        {"/相册/湖.Gif", "/相册/湖.(F)Gif"},
    };
    for (const auto& [path, marked] : rows) {
        EXPECT_EQ(MarkedName(QString::fromUtf8(path)), QString::fromUtf8(marked));
    }
}

class MarksFolderTest : public ::testing::Test {
protected:
    MarksFolderTest() : journal(dir.path(QStringLiteral("state/marks.journal"))), marks(&journal) {
        QDir().mkpath(album());
    }
    QString album() const { return dir.path(QStringLiteral("album")); }
    QString at(const char* name) const { return album() + u'/' + QString::fromUtf8(name); }
    void Bad(const char* name) const {
        dir.write(QStringLiteral("album/") + QString::fromUtf8(name), "text");
    }
    void Good(const char* name) const {
        dir.writePicture(QStringLiteral("album/") + QString::fromUtf8(name), 64, 48);
    }
    QStringList Files() const { return QDir(album()).entryList(QDir::Files, QDir::Name); }
    void Paste() {
        File1.SetPath(album());
        marks.PasteMark(File1, Pic1);
    }

    test::TempFolder dir;
    MarkJournal journal;
    Marks marks;
    Listing File1;
    PageBuffer Pic1;
};

TEST_F(MarksFolderTest, UnreadableHeadIsRenamedAndRestored) {
    Bad("a.jpg");
    Good("b.jpg");
    Bad("c.jpg");  // third: not tested here
    Paste();
    EXPECT_EQ(Files(), (QStringList{QStringLiteral("a.(F)jpg"), QStringLiteral("b.jpg"),
                                    QStringLiteral("c.jpg")}));
    EXPECT_EQ(File1.List(0), QStringLiteral("b.jpg"));
    EXPECT_EQ(File1.ListCount(), 2);
    ASSERT_EQ(journal.Load().size(), 1);
    EXPECT_EQ(journal.Load()[0].original, at("a.jpg"));

    marks.RemoveMark();
    EXPECT_EQ(Files(), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("b.jpg"),
                                    QStringLiteral("c.jpg")}));
    EXPECT_TRUE(journal.Load().isEmpty());

    // Again, as every opening spread does: never a double mark.
    Paste();
    marks.RemoveMark();
    Paste();
    EXPECT_TRUE(QFile::exists(at("a.(F)jpg")));
    EXPECT_FALSE(QFile::exists(at("a.(F)(F)jpg")));
    marks.RemoveMark();
}

TEST_F(MarksFolderTest, BothOfTheFirstTwoInListingOrder) {
    Bad("1.jpg");
    Bad("2.BMP");
    Bad("3.gif");
    Paste();
    ASSERT_EQ(marks.marked().size(), 2);
    EXPECT_EQ(marks.marked()[0].marked, at("1.(F)jpg"));
    EXPECT_EQ(marks.marked()[1].marked, at("2.(F)BMP"));
    EXPECT_EQ(File1.List(0), QStringLiteral("3.gif"));
    marks.RemoveMark();
}

TEST_F(MarksFolderTest, ATakenMarkNameIsNeverReplaced) {
    Bad("a.jpg");
    dir.write(QStringLiteral("album/a.(F)jpg"), "the user's own file");
    Good("b.jpg");
    Paste();
    EXPECT_TRUE(marks.marked().isEmpty());
    EXPECT_TRUE(journal.Load().isEmpty());
    EXPECT_EQ(dir.read(QStringLiteral("album/a.(F)jpg")), QByteArray("the user's own file"));
    EXPECT_EQ(dir.read(QStringLiteral("album/a.jpg")), QByteArray("text"));
    // Left out in memory, so the album does not stick on it.
    EXPECT_EQ(File1.List(0), QStringLiteral("b.jpg"));
    marks.RemoveMark();
    EXPECT_EQ(dir.read(QStringLiteral("album/a.(F)jpg")), QByteArray("the user's own file"));
}

TEST_F(MarksFolderTest, AReadOnlyFolderIsLeftAsItIs) {
    Bad("a.jpg");
    Good("b.jpg");
    ::chmod(QFile::encodeName(album()).constData(), 0555);
    if (::access(QFile::encodeName(album()).constData(), W_OK) == 0) {
        ::chmod(QFile::encodeName(album()).constData(), 0755);
        GTEST_SKIP() << "running with privileges that ignore folder permissions";
    }
    Paste();
    ::chmod(QFile::encodeName(album()).constData(), 0755);
    EXPECT_TRUE(marks.marked().isEmpty());
    EXPECT_TRUE(journal.Load().isEmpty());
    EXPECT_EQ(Files(), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}));
    EXPECT_EQ(File1.ListCount(), 1);
    EXPECT_EQ(File1.List(0), QStringLiteral("b.jpg"));
}

TEST_F(MarksFolderTest, TheJournalGivesNamesBackAfterACrash) {
    Bad("a.jpg");
    Bad("b.jpg");
    Good("c.jpg");
    Paste();
    ASSERT_EQ(marks.marked().size(), 2);
    // The run ends without RemoveMark; the next start reads the journal.
    MarkJournal next(journal.file());
    EXPECT_EQ(RestoreFromJournal(next), 2);
    EXPECT_EQ(Files(), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("b.jpg"),
                                    QStringLiteral("c.jpg")}));
    EXPECT_TRUE(next.Load().isEmpty());
}

TEST_F(MarksFolderTest, TheJournalIsNeverFollowedBlindly) {
    Bad("a.jpg");
    Bad("b.jpg");
    Good("c.jpg");
    Paste();
    ASSERT_EQ(marks.marked().size(), 2);
    // a's marked file is replaced by another file; b's original name is taken meanwhile.
    QFile::remove(at("a.(F)jpg"));
    dir.write(QStringLiteral("album/a.(F)jpg"), "another file");
    dir.write(QStringLiteral("album/b.jpg"), "new b");
    // A record of a folder that is gone, and lines that are not records.
    QFile f(journal.file());
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write("mark1 1 2 3 L2dvbmUvYS5qcGc= L2dvbmUvYS4oRilqcGc=\n");
    f.write("garbage\n\x01\x02\x03 mark1 x y z\nmark1 1 2 3 !!! ???\nmark1 1 2");
    f.close();
    MarkJournal next(journal.file());
    EXPECT_EQ(next.Load().size(), 3);
    EXPECT_EQ(RestoreFromJournal(next), 0);
    EXPECT_EQ(dir.read(QStringLiteral("album/a.(F)jpg")), QByteArray("another file"));
    EXPECT_FALSE(QFile::exists(at("a.jpg")));
    EXPECT_EQ(dir.read(QStringLiteral("album/b.jpg")), QByteArray("new b"));
    EXPECT_EQ(dir.read(QStringLiteral("album/b.(F)jpg")), QByteArray("text"));
    EXPECT_FALSE(QFile::exists(journal.file()));
}

TEST_F(MarksFolderTest, APictureThatBecameReadableIsNotMarkedAgain) {
    Bad("a.jpg");
    Good("b.jpg");
    Paste();
    marks.RemoveMark();
    Good("a.jpg");
    Paste();
    EXPECT_TRUE(marks.marked().isEmpty());
    EXPECT_EQ(File1.ListCount(), 2);
}

TEST(MarkJournalTest, PathsWithAnyCharactersRoundTrip) {
    test::TempFolder dir;
    MarkJournal journal(dir.path(QStringLiteral("j/marks.journal")));
    const MarkRecord r{
        QStringLiteral("/相册/a b\nc.jpg"), QStringLiteral("/相册/a b\nc.(F)jpg"), {1, 2, 3}};
    ASSERT_TRUE(journal.Add(r));
    ASSERT_TRUE(journal.Add(r));
    EXPECT_EQ(journal.Load(), (QList<MarkRecord>{r, r}));
    ASSERT_TRUE(journal.Remove(r));
    EXPECT_TRUE(journal.Load().isEmpty());
}

TEST(MarkJournalTest, DefaultPathFollowsXdgStateHome) {
    qputenv("XDG_STATE_HOME", "/state");
    EXPECT_EQ(MarkJournal::DefaultPath(), QStringLiteral("/state/leafsong/marks.journal"));
    qputenv("XDG_STATE_HOME", "relative");
    qputenv("HOME", "/home/u");
    EXPECT_EQ(MarkJournal::DefaultPath(),
              QStringLiteral("/home/u/.local/state/leafsong/marks.journal"));
    qunsetenv("XDG_STATE_HOME");
    EXPECT_EQ(MarkJournal::DefaultPath(),
              QStringLiteral("/home/u/.local/state/leafsong/marks.journal"));
}

}  // namespace
}  // namespace leafsong
