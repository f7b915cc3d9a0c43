#pragma once
// Files replaced whole or not at all, and private folders made for them.

#include <QByteArray>
#include <QString>

namespace leafsong {

// Whether WriteFileAtomically may replace file: its folder can be written, and so can the file
// when it exists (a read-only file is its owner's wish to keep it). A link is judged by its target.
bool CanReplaceFile(const QString& file);

// Replaces file with bytes: they are written to a new file in the same folder, flushed to disk
// and renamed over it, so the file holds its old bytes or the new ones, never a part. An existing
// file keeps its permission bits, a new one is 0600; a symbolic link stays and its target is
// replaced. False, with the reason in *error, when any step fails; nothing is then left behind.
bool WriteFileAtomically(const QString& file, const QByteArray& bytes, QString* error);

// Makes folder and its missing parents, each one made 0700 whatever the umask; folders that
// exist are left as they are. False, with the reason in *error, when one cannot be made.
bool MakePrivateFolder(const QString& folder, QString* error);

}  // namespace leafsong
