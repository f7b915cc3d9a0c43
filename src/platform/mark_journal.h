#pragma once
// A journal of the pictures the album has renamed, kept on disk so that names are given back
// even after a crash or a kill.

#include <sys/types.h>
#include <QList>
#include <QString>

namespace leafsong {

// A file's identity: the same file, not merely the same name.
struct FileIdentity {
    quint64 dev = 0;
    quint64 ino = 0;
    qint64 size = -1;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at path (not following a final link); nullopt-like size -1 when none.
FileIdentity IdentityOf(const QString& path);

struct MarkRecord {
    QString original;
    QString marked;
    FileIdentity id;
    bool operator==(const MarkRecord&) const = default;
};

class MarkJournal {
public:
    // $XDG_STATE_HOME/leafsong/marks.journal ($HOME/.local/state/... by default); empty when
    // neither is set.
    static QString DefaultPath();

    explicit MarkJournal(QString file) : file_(std::move(file)) {}

    // The records on disk; lines that cannot be read are skipped.
    QList<MarkRecord> Load() const;
    // Adds a record and flushes the journal to disk before returning.
    bool Add(const MarkRecord& record);
    // Drops a record (all equal copies).
    bool Remove(const MarkRecord& record);
    // Empties the journal.
    bool Clear();
    const QString& file() const { return file_; }

private:
    bool Save(const QList<MarkRecord>& records);

    QString file_;
};

// Gives back the name of every journalled file that still exists with its identity and whose
// original name is free, then clears the journal. Returns how many were renamed.
int RestoreFromJournal(MarkJournal& journal);

}  // namespace leafsong
