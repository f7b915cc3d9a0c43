#pragma once
// Path and file-name helpers: pure functions on "/"-separated paths, plus two existence tests.

#include <QString>

namespace leafsong {

// Folder and name joined by exactly one separator (none added when the folder already ends with
// it).
QString JoinPath(const QString& folder, const QString& name);

// The last piece of the path after its last separator ("" when the path ends with one).
QString GetFileName(const QString& path);

// The text after the last "." of the whole path, or the whole path when it has no dot.
QString GetExtName(const QString& path);

// The folder part, up to and including the last separator ("" when there is none).
QString GetPathName(const QString& path);

// True when a plain file (or a link to one) of that name exists.
bool FileExists(const QString& path);

// True when a folder or a plain file of that name exists.
bool FolderExists(const QString& path);

}  // namespace leafsong
