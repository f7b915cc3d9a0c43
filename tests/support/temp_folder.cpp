#include "support/temp_folder.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <stdexcept>

namespace leafsong::test {

TempFolder::TempFolder() : dir_(QDir::tempPath() + QStringLiteral("/leafsong-test-XXXXXX")) {
    if (!dir_.isValid()) {
        throw std::runtime_error("cannot create a temporary folder");
    }
}

QString TempFolder::path(const QString& name) const {
    return name.isEmpty() ? dir_.path() : dir_.filePath(name);
}

QString TempFolder::write(const QString& name, const QByteArray& bytes) const {
    QString p = path(name);
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write test file");
    }
    return p;
}

QString TempFolder::writePicture(const QString& name, int w, int h, unsigned rgb) const {
    QString p = path(name);
    QDir().mkpath(QFileInfo(p).absolutePath());
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(QColor::fromRgb(rgb));
    const QByteArray ext = QFileInfo(name).suffix().toLower().toLatin1();
    const bool own = QByteArrayList{"bmp", "png", "webp", "tif", "tiff"}.contains(ext);
    if (!img.save(p, own ? ext.constData() : "JPEG")) {
        throw std::runtime_error("cannot write test picture");
    }
    return p;
}

QByteArray TempFolder::read(const QString& name) const {
    return ReadFile(path(name));
}

QByteArray TempFolder::ReadFile(const QString& filePath) {
    QFile f(filePath);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return f.readAll();
}

unsigned TempFolder::ModeOf(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

}  // namespace leafsong::test
