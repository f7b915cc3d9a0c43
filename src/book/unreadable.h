#pragma once
// Unreadable pictures at the head of the listing are renamed out of it ("a.jpg" becomes
// "a.(F)jpg") while the album is open, and given their names back at the next opening spread and
// at exit. Every rename is journalled first, so a crash loses no name; a rename never replaces a
// file.

#include <QList>
#include <QString>

#include "book/listing.h"
#include "book/page_buffer.h"
#include "platform/mark_journal.h"

namespace leafsong {

// The name with "(F)" put right after its last dot.
QString MarkedName(const QString& path);

class Marks {
public:
    // journal may be null: marks then live in memory only.
    explicit Marks(MarkJournal* journal = nullptr) : journal_(journal) {}

    // Tests the first two entries of the listing by loading them into Pic1; renames the ones that
    // do not load and reads the listing again. One that cannot be renamed (a read-only folder, the
    // marked name taken) is left out of the listing in memory instead.
    void PasteMark(Listing& File1, PageBuffer& Pic1);
    // Gives every file marked by the last PasteMark its name back.
    void RemoveMark();

    const QList<MarkRecord>& marked() const { return marked_; }

private:
    MarkJournal* journal_;
    QList<MarkRecord> marked_;
};

}  // namespace leafsong
