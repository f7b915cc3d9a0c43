#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>

#include "platform/atomic_file.h"
#include "platform/log.h"
#include "platform/state_folder.h"

namespace leafsong {

QString InstanceLock::DefaultPath() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString folder = runtime.isEmpty() ? StateFolder() : runtime + u'/';
    return folder.isEmpty() ? QString() : folder + QStringLiteral("leafsong.lock");
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

InstanceLock::Result InstanceLock::TryAcquire(const QString& path) {
    if (fd_ >= 0) {
        return Result::Held;
    }
    if (path.isEmpty() || !MakePrivateFolder(QFileInfo(path).absolutePath(), nullptr)) {
        qCDebug(lcStartup) << "no folder for the lock" << path;
        return Result::Unavailable;
    }
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() ||
        ::fchmod(fd, 0600) != 0) {
        qCDebug(lcStartup) << "cannot use the lock file" << path;
        if (fd >= 0) {
            ::close(fd);
        }
        return Result::Unavailable;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool taken = errno == EWOULDBLOCK;
        ::close(fd);
        return taken ? Result::Taken : Result::Unavailable;
    }
    fd_ = fd;
    return Result::Held;
}

}  // namespace leafsong
