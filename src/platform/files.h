#pragma once
// File operations: renames that never replace a file, and whole writes.

#include <QByteArray>
#include <QString>

namespace leafsong {

// Renames from to to unless to exists (then false, nothing changed). Uses RENAME_NOREPLACE, or
// link + unlink where the file system lacks it.
bool RenameNoReplace(const QString& from, const QString& to);

// Writes all of bytes to fd, going on after interruptions; false (errno set) when a write fails.
bool WriteAll(int fd, const QByteArray& bytes);

}  // namespace leafsong
