#pragma once
// Path and file-name helpers. The separator is a parameter so the same rules
// serve "/" (this platform) and "\" (paths written on other systems).

#include <QChar>
#include <QString>

namespace leafsong {

inline constexpr QChar kSeparator = u'/';

// Folder and name joined by exactly one separator (none added when the folder already ends with
// it).
QString JoinPath(const QString& folder, const QString& name, QChar sep = kSeparator);

// The last piece of the path after its last separator ("" when the path ends with one).
QString GetFileName(const QString& path, QChar sep = kSeparator);

// The text after the last "." of the whole path, or the whole path when it has no dot.
QString GetExtName(const QString& path);

// The folder part, up to and including the last separator ("" when there is none).
QString GetPathName(const QString& path, QChar sep = kSeparator);

// True when a plain file (or a link to one) of that name exists.
bool FileExists(const QString& path);

// True when a folder or a plain file of that name exists.
bool FolderExists(const QString& path);

}  // namespace leafsong
