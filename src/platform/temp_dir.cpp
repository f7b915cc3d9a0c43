#include "platform/temp_dir.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/file.h>
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

QString Refusal(const QString& path, const char* why) {
    return QStringLiteral("refusing the temporary folder %1: %2").arg(path, QLatin1String(why));
}

// error: the errno of the failed step, taken before anything else could change it.
QString Failure(const char* what, const QString& path, int error) {
    return QStringLiteral("cannot %1 the temporary folder %2: %3")
        .arg(QLatin1String(what), path, QString::fromLocal8Bit(std::strerror(error)));
}

// The names in the folder open as fd, without "." and "..".
QList<QByteArray> NamesIn(int fd) {
    QList<QByteArray> names;
    // A description of its own, so the listing never moves fd's position.
    const int listing = ::openat(fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (dir == nullptr) {
        if (listing >= 0) {
            ::close(listing);
        }
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..") {
            names << name;
        }
    }
    ::closedir(dir);
    return names;
}

// Removes the files of the folder open as fd whose names match one of the patterns. Links are
// removed, never followed.
void RemoveLeftovers(int fd, const QStringList& patterns) {
    QList<QByteArray> native;
    for (const QString& pattern : patterns) {
        native << QFile::encodeName(pattern);
    }
    for (const QByteArray& name : NamesIn(fd)) {
        for (const QByteArray& pattern : std::as_const(native)) {
            if (::fnmatch(pattern.constData(), name.constData(), 0) == 0) {
                ::unlinkat(fd, name.constData(), 0);
                break;
            }
        }
    }
}

// Removes the leftovers of this user's folders in parent whose names match pattern and that no
// running album holds, then each folder that this empties.
void SweepStale(const QString& parent, const QByteArray& pattern, const QStringList& leftovers) {
    const int parentFd =
        ::open(QFile::encodeName(parent).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parentFd < 0) {
        return;
    }
    for (const QByteArray& name : NamesIn(parentFd)) {
        if (::fnmatch(pattern.constData(), name.constData(), 0) != 0) {
            continue;
        }
        const int fd = ::openat(parentFd, name.constData(),
                                O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        struct stat st {};
        if (fd >= 0 && ::fstat(fd, &st) == 0 && st.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            RemoveLeftovers(fd, leftovers);
            ::unlinkat(parentFd, name.constData(), AT_REMOVEDIR);  // kept when not empty
        }
        if (fd >= 0) {
            ::close(fd);
        }
    }
    ::close(parentFd);
}

}  // namespace

QString SharedTempFolder() {
    const QByteArray tmp = qgetenv("TMPDIR");
    return tmp.isEmpty() ? QStringLiteral("/tmp") : QFile::decodeName(tmp);
}

TempDir::~TempDir() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

QString TempDir::Open(const QStringList& leftovers) {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        return UseFolder(WithSlash(QFile::decodeName(runtime)) + QStringLiteral("leafsong"),
                         leftovers);
    }
    return MakeFresh(SharedTempFolder(), leftovers);
}

QString TempDir::UseFolder(const QString& folder, const QStringList& leftovers) {
    const QString path = WithSlash(folder);
    const QByteArray native = QFile::encodeName(path.chopped(1));
    const bool made = ::mkdir(native.constData(), 0700) == 0;
    if (!made && errno != EEXIST) {
        return Failure("create", path, errno);
    }
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0) {
        return Failure("use", path, errno);
    }
    if (S_ISLNK(st.st_mode)) {
        return Refusal(path, "it is a symbolic link");
    }
    if (!S_ISDIR(st.st_mode)) {
        return Refusal(path, "it is not a folder");
    }
    if (st.st_uid != ::geteuid()) {
        return Refusal(path, "it belongs to another user");
    }
    if ((st.st_mode & 077) != 0) {
        return Refusal(path, "it is open to other users");
    }
    // The run keeps what was judged: the same folder, never a link put in its place since.
    const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat held {};
    if (fd < 0 || ::fstat(fd, &held) != 0 || held.st_dev != st.st_dev || held.st_ino != st.st_ino ||
        (made && ::fchmod(fd, 0700) != 0)) {  // the umask may have taken the owner's bits
        QString error = Failure("use", path, errno);
        if (fd >= 0) {
            ::close(fd);
        }
        return error;
    }
    // Without the lock another running album uses the folder: its files stay.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        RemoveLeftovers(fd, leftovers);
    }
    Close();
    path_ = path;
    fd_ = fd;
    return {};
}

QString TempDir::MakeFresh(const QString& parent, const QStringList& leftovers) {
    const QByteArray prefix = "leafsong-" + QByteArray::number(::geteuid()) + '-';
    SweepStale(parent, prefix + "??????", leftovers);
    const QByteArray name = QFile::encodeName(WithSlash(parent)) + prefix + "XXXXXX";
    QByteArray made = name;
    if (::mkdtemp(made.data()) == nullptr) {
        return Failure("create", QFile::decodeName(name), errno);
    }
    const int fd = ::open(made.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0 || ::fchmod(fd, 0700) != 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        QString error = Failure("use", QFile::decodeName(made), errno);
        if (fd >= 0) {
            ::close(fd);
        }
        ::rmdir(made.constData());
        return error;
    }
    Close();
    path_ = QFile::decodeName(made) + u'/';
    fd_ = fd;
    return {};
}

void TempDir::Close() {
    if (!path_.isEmpty()) {
        ::rmdir(QFile::encodeName(path_).constData());
        path_.clear();
    }
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
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
    const bool written = ::fchmod(fd, 0600) == 0 && WriteAll(fd, bytes);
    const bool closed = ::close(fd) == 0;
    // Never replace a file that appeared meanwhile: it is not ours to delete at exit.
    if (!written || !closed || !RenameNoReplace(tmpPath, filePath)) {
        ::unlink(tmp.constData());
        return false;
    }
    return true;
}

}  // namespace leafsong
