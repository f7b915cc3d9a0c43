// Names that earlier versions renamed are given back, safely, from their journal.
#include "platform/mark_journal.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "support/temp_folder.h"

namespace leafsong {
namespace {

QByteArray Line(const QString& original, const QString& marked, const QString& identityOf) {
    struct stat st {};
    ::lstat(QFile::encodeName(identityOf).constData(), &st);
    return "mark1 " + QByteArray::number(quint64(st.st_dev)) + ' ' +
           QByteArray::number(quint64(st.st_ino)) + " 5 " + original.toUtf8().toBase64() + ' ' +
           marked.toUtf8().toBase64() + '\n';
}

TEST(MarkJournalTest, GivesBackOnlyTheSameFileOntoAFreeNameAndKeepsWhatMayComeBack) {
    test::TempFolder dir;
    const QString a = dir.path(QStringLiteral("a.jpg")), b = dir.path(QStringLiteral("b.jpg"));
    const QString c = dir.path(QStringLiteral("c.jpg")), d = dir.path(QStringLiteral("d.jpg"));
    dir.write(QStringLiteral("a.(F)jpg"), "a, copied on after it was marked");
    dir.write(QStringLiteral("b.(F)jpg"), "b");
    dir.write(QStringLiteral("b.jpg"), "a new b");  // the name is taken
    dir.write(QStringLiteral("c.(F)jpg"), "c");
    dir.write(QStringLiteral("elsewhere"), "a user's file");
    const QString gone = dir.path(QStringLiteral("stick/e.jpg"));
    QByteArray journal =
        Line(a, MarkedName(a), MarkedName(a)) + Line(b, MarkedName(b), MarkedName(b)) +
        Line(c, MarkedName(c), dir.path(QStringLiteral("elsewhere"))) +
        Line(d, dir.path(QStringLiteral("elsewhere")), dir.path(QStringLiteral("elsewhere"))) +
        Line(gone, MarkedName(gone), a) + "garbage line\n";
    const QString file = dir.write(QStringLiteral("state/marks.journal"), journal);
    ::chmod(QFile::encodeName(file).constData(), 0600);
    EXPECT_EQ(RestoreLegacyMarks(file), 1);
    // a is back; b's name is taken and c.(F)jpg is another file than the one renamed; d's record
    // names a file that is not a marked name; the stick's folder is not there now.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name).join(u' '),
              QStringLiteral("a.jpg b.(F)jpg b.jpg c.(F)jpg elsewhere"));
    EXPECT_EQ(dir.read(QStringLiteral("a.jpg")), "a, copied on after it was marked");
    // b may get its name back later, and so may the stick's file; the rest are dropped.
    EXPECT_EQ(ParseMarkJournal(dir.read(QStringLiteral("state/marks.journal"))).size(), 2);
    QFile::remove(b);
    EXPECT_EQ(RestoreLegacyMarks(file), 1);
    EXPECT_TRUE(QFile::exists(file)) << "the stick's record stays";
    // A journal that others may write is not this user's own: it is not acted upon.
    const QString f = dir.path(QStringLiteral("f.jpg"));
    dir.write(QStringLiteral("f.(F)jpg"), "f");
    dir.write(QStringLiteral("state/marks.journal"), Line(f, MarkedName(f), MarkedName(f)));
    ::chmod(QFile::encodeName(file).constData(), 0622);
    EXPECT_EQ(RestoreLegacyMarks(file), 0);
    EXPECT_TRUE(QFile::exists(MarkedName(f)));
}

// No journal is ever made, and none is left empty: only records still waiting keep one.
TEST(MarkJournalTest, AJournalWithNothingLeftToGiveBackIsDeletedAndNoneIsMade) {
    test::TempFolder dir;
    const QString a = dir.path(QStringLiteral("a.jpg"));
    dir.write(QStringLiteral("a.(F)jpg"), "a");
    const QString file = dir.path(QStringLiteral("state/marks.journal"));
    EXPECT_EQ(RestoreLegacyMarks(file), 0);
    EXPECT_FALSE(QFileInfo::exists(dir.path(QStringLiteral("state"))));
    for (const QByteArray& journal :
         {QByteArray(), QByteArray("garbage line\n"), Line(a, MarkedName(a), MarkedName(a))}) {
        dir.write(QStringLiteral("state/marks.journal"), journal);
        ::chmod(QFile::encodeName(file).constData(), 0600);
        RestoreLegacyMarks(file);
        EXPECT_FALSE(QFileInfo::exists(file)) << journal.constData();
    }
    EXPECT_TRUE(QFileInfo::exists(a));
}

}  // namespace
}  // namespace leafsong
