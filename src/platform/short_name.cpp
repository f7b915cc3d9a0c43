#include "platform/short_name.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/path_utils.h"
#include "platform/log.h"

namespace leafsong {

namespace {

const QLatin1StringView kPrefix("media-");

// The extension cut to three characters, upper-cased, with anything but letters and digits
// replaced so that the alias stays one word.
QString ShortExtension(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot < 0) {
        return {};
    }
    QString ext = fileName.mid(dot + 1, 3).toUpper();
    for (QChar& c : ext) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128)) {
            c = u'_';
        }
    }
    return ext;
}

}  // namespace

QString ShortAliasName(const QString& absolutePath) {
    const QByteArray hash =
        QCryptographicHash::hash(absolutePath.toUtf8(), QCryptographicHash::Sha256).toHex();
    QString name = kPrefix + QString::fromLatin1(hash.left(20));
    const QString ext = ShortExtension(GetFileName(absolutePath));
    if (!ext.isEmpty()) {
        name += u'.' + ext;
    }
    return name;
}

ShortNames::ShortNames(QString folder) : folder_(std::move(folder)) {}

QString ShortNames::GetShortName(const QString& path) {
    if (folder_.isEmpty() || !FileExists(path)) {
        return buffer_;
    }
    const QString target = QFileInfo(path).absoluteFilePath();
    const QString alias = JoinPath(folder_, ShortAliasName(target));
    const QFileInfo existing(alias);
    if (existing.isSymLink() && existing.symLinkTarget() == target) {
        buffer_ = alias;
        return buffer_;
    }
    if (existing.exists() || existing.isSymLink()) {
        QFile::remove(alias);
    }
    if (!QFile::link(target, alias)) {
        qCDebug(lcMedia) << "no alias for" << path << "in" << folder_;
        return buffer_;
    }
    buffer_ = alias;
    return buffer_;
}

void ShortNames::RemoveAll() {
    if (folder_.isEmpty()) {
        return;
    }
    const QDir dir(folder_);
    const QStringList names = dir.entryList(
        {kPrefix + u'*'}, QDir::System | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        const QString alias = dir.filePath(name);
        // Only links: a file of ours is never named like this, and anything else is not ours.
        if (QFileInfo(alias).isSymLink()) {
            QFile::remove(alias);
        }
    }
}

}  // namespace leafsong
