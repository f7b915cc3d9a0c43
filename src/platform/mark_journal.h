#pragma once
// Names left by earlier versions of the album, which renamed an unreadable picture out of the
// listing ("a.jpg" became "a.(F)jpg") and kept a journal to give the names back. The album no
// longer renames anything; at start it gives back what such a journal still lists.

#include <QList>
#include <QString>

namespace leafsong {

// The name with "(F)" put right after the last dot of the whole path.
QString MarkedName(const QString& path);

// One renamed file, as earlier versions recorded it.
struct MarkRecord {
    QString original;
    QString marked;
    quint64 dev = 0;
    quint64 ino = 0;
    qint64 size = -1;
    bool operator==(const MarkRecord&) const = default;
};

// $XDG_STATE_HOME/leafsong/marks.journal ($HOME/.local/state/... by default); empty when neither
// is set.
QString MarkJournalPath();

// The records of a journal, lines that cannot be read skipped.
QList<MarkRecord> ParseMarkJournal(const QByteArray& bytes);

// Gives each journalled file its name back when all of these hold: the journal is this user's
// own plain file and no one else may write it; the record's marked name is its original's
// marked name, in the same folder; the file there is still the very file renamed (same device
// and inode; its size may have changed, as when a copy finished into it); the original name is
// free. A record that cannot be given back now (its folder is on a stick not plugged in, the name
// is taken) is kept for a later start; one whose file is gone is dropped. The journal is deleted
// once it is empty. Returns how many names were given back.
int RestoreLegacyMarks(const QString& journalFile);

}  // namespace leafsong
