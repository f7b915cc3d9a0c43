#pragma once
// Helpers for tests that work on real files in a private temporary folder.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace leafsong::test {

class TempFolder {
public:
    TempFolder();
    // Absolute path of name inside the folder (no trailing separator for "").
    QString path(const QString& name = {}) const;
    // Writes bytes to name (folders created as needed); returns the absolute path.
    QString write(const QString& name, const QByteArray& bytes) const;
    // Writes a picture of the given size and colour: BMP, PNG, WebP or TIFF by name's extension,
    // JPEG for any other.
    QString writePicture(const QString& name, int w, int h, unsigned rgb = 0x3366cc) const;
    QByteArray read(const QString& name) const;
    // The bytes of any file ("" when it cannot be read).
    static QByteArray ReadFile(const QString& path);
    // The permission bits of path itself, not of what a link points to (0 when it is missing).
    static unsigned ModeOf(const QString& path);

private:
    QTemporaryDir dir_;
};

}  // namespace leafsong::test
