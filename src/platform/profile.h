#pragma once
// Private profile files: "[Section]" lines followed by "key=value" lines, UTF-8.

#include <QByteArray>
#include <QString>
#include <optional>

namespace leafsong {

inline constexpr char kDefaultWord[] = "Harrowfen";
// Longest value returned, in bytes (the platform's path limit).
inline constexpr int kMaxProfileValue = 4095;
// Largest file read, in bytes: the album writes well under 1 KiB, and a huge file must not stall
// the start or the end.
inline constexpr qint64 kMaxProfileSize = qint64(1) << 20;

// The value of key in section, or the default word when the file, the section or the key is
// missing or the value is empty. Section and key names match case-insensitively; the value ends
// at its first NUL and loses its trailing spaces; it is cut to kMaxProfileValue bytes.
QString ReadProfile(const QString& file, const QString& section, const QString& key);

// Same rules on the file's content instead of a file.
QString ReadProfileText(const QByteArray& content, const QString& section, const QString& key);

// The value's bytes as they stand in the content, under the same rules; empty where
// ReadProfileText gives the default word. Bytes that are not UTF-8 survive only here.
QByteArray ReadProfileBytes(const QByteArray& content, const QString& section, const QString& key);

// The file's bytes for ReadProfileText, so several values cost one read: empty when the file is
// missing; nothing, with the reason in *error, when it is not a plain file, is larger than
// kMaxProfileSize (judged from its size alone) or cannot be read.
std::optional<QByteArray> ReadProfileFile(const QString& file, QString* error = nullptr);

// The content with key set to value in section: the key's line is replaced (or added at the end
// of the section, or a new section is added at the end); every other line is kept as it was.
// A value is stored up to its first line break or NUL, which a line cannot hold.
QByteArray WriteProfileText(const QByteArray& content, const QString& section, const QString& key,
                            const QString& value);

// The same with the value's bytes, written as they are.
QByteArray WriteProfileBytes(const QByteArray& content, const QString& section, const QString& key,
                             const QByteArray& value);

// Writes key=value into the file atomically (the file is replaced whole or not at all); false,
// with the reason in *error, when the file cannot be read or written (a folder of that name, a
// read-only folder, a full disk, ...).
bool WriteProfile(const QString& file, const QString& section, const QString& key,
                  const QString& value, QString* error = nullptr);

}  // namespace leafsong
