#pragma once
// File operations that never replace an existing file.

#include <QString>

namespace leafsong {

// Renames from to to unless to exists (then false, nothing changed). Uses RENAME_NOREPLACE, or
// link + unlink where the file system lacks it.
bool RenameNoReplace(const QString& from, const QString& to);

}  // namespace leafsong
