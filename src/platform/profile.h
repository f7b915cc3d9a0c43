#pragma once
// Private profile files: "[Section]" lines followed by "key=value" lines, UTF-8.

#include <QByteArray>
#include <QList>
#include <QString>

namespace leafsong {

inline constexpr char kDefaultWord[] = "Harrowfen";
// Longest value returned, in bytes (the platform's path limit).
inline constexpr int kMaxProfileValue = 4095;

// The value of key in section, or the default word when the file, the section or the key is
// missing or the value is empty. Section and key names match case-insensitively; the value ends
// at its first NUL and loses its trailing spaces; it is cut to kMaxProfileValue bytes.
QString ReadProfile(const QString& file, const QString& section, const QString& key);

// Same rules on the file's content instead of a file.
QString ReadProfileText(const QByteArray& content, const QString& section, const QString& key);

// The file's bytes for ReadProfileText, so several values cost one read; empty when the file is
// missing or not a plain file.
QByteArray ReadProfileFile(const QString& file);

// The content with key set to value in section: the key's line is replaced (or added at the end
// of the section, or a new section is added at the end); every other line is kept as it was.
// A value is stored up to its first line break or NUL, which a line cannot hold.
QByteArray WriteProfileText(const QByteArray& content, const QString& section, const QString& key,
                            const QString& value);

// Writes key=value into the file atomically (the file is replaced whole or not at all); false
// when the file cannot be read or written (a folder of that name, a read-only folder, ...).
bool WriteProfile(const QString& file, const QString& section, const QString& key,
                  const QString& value);

struct ProfileEntry {
    QString section;
    QString key;
    QString value;
};

// Writes several values in order with one atomic replacement of the file; false as WriteProfile.
bool WriteProfileValues(const QString& file, const QList<ProfileEntry>& entries);

}  // namespace leafsong
