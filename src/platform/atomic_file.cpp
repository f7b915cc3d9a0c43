#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>

#include "platform/files.h"

namespace leafsong {

namespace {

bool Fail(QString* error, int err) {
    if (error) {
        *error = qt_error_string(err);
    }
    return false;
}

// A link (a dotfiles manager's, say) is kept: the file it points to is the one replaced.
QString Target(const QString& file) {
    const QFileInfo info(file);
    if (!info.isSymLink()) {
        return file;
    }
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

// The rename itself reaches the disk only with its folder.
void SyncFolder(const QString& folder) {
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

bool CanReplaceFile(const QString& file) {
    const QString target = Target(file);
    const QByteArray path = QFile::encodeName(target);
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    return ::access(folder.constData(), W_OK) == 0 &&
           (::access(path.constData(), F_OK) != 0 || ::access(path.constData(), W_OK) == 0);
}

bool WriteFileAtomically(const QString& file, const QByteArray& bytes, QString* error) {
    const QFileInfo target(Target(file));
    const QByteArray path = QFile::encodeName(target.absoluteFilePath());
    mode_t mode = 0600;
    struct stat st {};
    if (::stat(path.constData(), &st) == 0) {
        if (::access(path.constData(), W_OK) != 0) {
            return Fail(error, errno);
        }
        mode = st.st_mode & 0777;
    }
    QByteArray temp = QFile::encodeName(
        QStringLiteral("%1/.%2.XXXXXX").arg(target.absolutePath(), target.fileName()));
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        return Fail(error, errno);
    }
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(temp.constData(), path.constData()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temp.constData());
        return Fail(error, err);
    }
    SyncFolder(target.absolutePath());
    return true;
}

bool MakePrivateFolder(const QString& folder, QString* error) {
    const QFileInfo info(folder);
    if (info.isDir()) {
        return true;
    }
    const QString parent = info.absolutePath();
    if (parent != info.absoluteFilePath() && !MakePrivateFolder(parent, error)) {
        return false;
    }
    const QByteArray path = QFile::encodeName(info.absoluteFilePath());
    if (::mkdir(path.constData(), 0700) == 0) {
        // The umask may have taken bits the owner needs.
        return ::chmod(path.constData(), 0700) == 0 || Fail(error, errno);
    }
    return errno == EEXIST || Fail(error, errno);
}

}  // namespace leafsong
