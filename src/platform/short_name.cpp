#include "platform/short_name.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/path_utils.h"
#include "platform/log.h"

namespace leafsong {

namespace {

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

// The link's target, or "" when name is not a link.
QByteArray LinkTarget(int dirFd, const QByteArray& name) {
    QByteArray target(4096, Qt::Uninitialized);
    const ssize_t n = ::readlinkat(dirFd, name.constData(), target.data(), size_t(target.size()));
    return n > 0 && n < target.size() ? target.left(n) : QByteArray();
}

}  // namespace

QString ShortAliasName(const QString& absolutePath) {
    const QByteArray hash =
        QCryptographicHash::hash(absolutePath.toUtf8(), QCryptographicHash::Sha256).toHex();
    QString name =
        QLatin1StringView(kShortNamePattern).chopped(1) + QString::fromLatin1(hash.left(20));
    const QString ext = ShortExtension(GetFileName(absolutePath));
    if (!ext.isEmpty()) {
        name += u'.' + ext;
    }
    return name;
}

ShortNames::ShortNames(const QString& folder) {
    SetFolder(folder);
}

ShortNames::~ShortNames() {
    SetFolder({});
}

void ShortNames::SetFolder(const QString& folder) {
    if (dirFd_ >= 0) {
        ::close(dirFd_);
        dirFd_ = -1;
    }
    if (!folder.isEmpty()) {
        dirFd_ = ::open(QFile::encodeName(folder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
}

QString ShortNames::GetShortName(const QString& path) {
    if (dirFd_ < 0 || !FileExists(path)) {
        return buffer_;
    }
    const QByteArray target = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    const QString name = ShortAliasName(QFile::decodeName(target));
    const QByteArray native = QFile::encodeName(name);
    if (LinkTarget(dirFd_, native) != target) {
        ::unlinkat(dirFd_, native.constData(), 0);  // a stale alias of that name
        if (::symlinkat(target.constData(), dirFd_, native.constData()) != 0) {
            qCDebug(lcMedia) << "no alias for" << path;
            return buffer_;
        }
    }
    buffer_ = QStringLiteral("/proc/self/fd/%1/").arg(dirFd_) + name;
    return buffer_;
}

void ShortNames::RemoveAll() {
    if (dirFd_ < 0) {
        return;
    }
    const QStringList names =
        QDir(QStringLiteral("/proc/self/fd/%1").arg(dirFd_))
            .entryList({QLatin1StringView(kShortNamePattern)},
                       QDir::System | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        const QByteArray native = QFile::encodeName(name);
        struct stat st {};
        // Only links: a file of ours is never named like this, and anything else is not ours.
        if (::fstatat(dirFd_, native.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISLNK(st.st_mode)) {
            ::unlinkat(dirFd_, native.constData(), 0);
        }
    }
}

}  // namespace leafsong
