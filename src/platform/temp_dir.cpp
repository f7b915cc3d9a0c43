#include "platform/temp_dir.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>

#include "common/path_utils.h"
#include "platform/files.h"
#include "platform/log.h"

namespace leafsong {

namespace {

QString WithSlash(QString path) {
    if (!path.endsWith(u'/')) {
        path += u'/';
    }
    return path;
}

bool WriteAll(int fd, const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

}  // namespace

QString TempDirCandidate() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        return WithSlash(QFile::decodeName(runtime)) + QStringLiteral("leafsong/");
    }
    QByteArray tmp = qgetenv("TMPDIR");
    if (tmp.isEmpty()) {
        tmp = "/tmp";
    }
    return WithSlash(QFile::decodeName(tmp)) + QStringLiteral("leafsong-%1/").arg(::getuid());
}

TempDirResult PrepareTempDir(const QString& folder) {
    const QString path = WithSlash(folder);
    const QByteArray native = QFile::encodeName(path.chopped(1));
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        return {{},
                QStringLiteral("cannot create the temporary folder %1: %2")
                    .arg(path, QString::fromLocal8Bit(std::strerror(errno)))};
    }
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0) {
        return {{}, QStringLiteral("cannot use the temporary folder %1").arg(path)};
    }
    if (S_ISLNK(st.st_mode)) {
        return {
            {},
            QStringLiteral("refusing the temporary folder %1: it is a symbolic link").arg(path)};
    }
    if (!S_ISDIR(st.st_mode)) {
        return {{},
                QStringLiteral("refusing the temporary folder %1: it is not a folder").arg(path)};
    }
    if (st.st_uid != ::geteuid()) {
        return {{},
                QStringLiteral("refusing the temporary folder %1: it belongs to another user")
                    .arg(path)};
    }
    if ((st.st_mode & 077) != 0) {
        return {{},
                QStringLiteral("refusing the temporary folder %1: it is open to other users")
                    .arg(path)};
    }
    return {path, {}};
}

TempDirResult GetTempDir() {
    return PrepareTempDir(TempDirCandidate());
}

bool ResToFile(const QString& resource, const QString& filePath) {
    if (FileExists(filePath)) {
        return false;
    }
    QFile res(resource);
    if (!res.open(QIODevice::ReadOnly)) {
        qCWarning(lcStartup) << "missing resource" << resource;
        return false;
    }
    const QByteArray bytes = res.readAll();

    const QString tmpPath =
        filePath + QStringLiteral(".part-%1")
                       .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    const QByteArray tmp = QFile::encodeName(tmpPath);
    const int fd =
        ::open(tmp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    const bool written = WriteAll(fd, bytes);
    const bool closed = ::close(fd) == 0;
    // Never replace a file that appeared meanwhile: it is not ours to delete at exit.
    if (!written || !closed || !RenameNoReplace(tmpPath, filePath)) {
        ::unlink(tmp.constData());
        return false;
    }
    return true;
}

}  // namespace leafsong
