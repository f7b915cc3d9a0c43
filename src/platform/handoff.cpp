#include "platform/handoff.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstring>

#include "platform/log.h"

namespace leafsong {

namespace {

// A path is at most PATH_MAX bytes; more is not a path.
constexpr qsizetype kMaxMessage = 4096;
// Connections waiting for their path; one more drops the oldest.
constexpr size_t kMaxClients = 8;

bool FillAddress(const QString& path, sockaddr_un& address) {
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty() || size_t(name.size()) >= sizeof(address.sun_path)) {
        return false;
    }
    address = {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    return true;
}

bool PeerIsMe(int fd) {
    ucred peer{};
    socklen_t size = sizeof(peer);
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::geteuid();
}

bool SendAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::send(fd, bytes.constData() + done, size_t(bytes.size() - done), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += n;
    }
    return true;
}

}  // namespace

QString HandoffSocketPath(const QString& lockPath) {
    if (lockPath.isEmpty()) {
        return {};
    }
    QString path = lockPath;
    if (path.endsWith(QLatin1String(".lock"))) {
        path.chop(5);
    }
    return path + QStringLiteral(".sock");
}

HandoffResult HandToRunningAlbum(const QString& socketPath, const QString& path, int timeoutMs) {
    sockaddr_un address{};
    if (!FillAddress(socketPath, address)) {
        return HandoffResult::NoAlbum;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return HandoffResult::NoAlbum;
    }
    HandoffResult result = HandoffResult::Refused;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        result = HandoffResult::NoAlbum;
    } else if (PeerIsMe(fd) && SendAll(fd, QFile::encodeName(path) + '\0')) {
        pollfd wait{fd, POLLIN, 0};
        char answer = 0;
        if (::poll(&wait, 1, timeoutMs) == 1 && ::recv(fd, &answer, 1, 0) == 1 && answer == '1') {
            result = HandoffResult::Taken;
        }
    }
    ::close(fd);
    return result;
}

HandoffListener::HandoffListener(std::function<bool(const QString&)> onPath)
    : onPath_(std::move(onPath)) {}

HandoffListener::~HandoffListener() {
    for (const auto& client : clients_) {
        ::close(client->fd);
    }
    if (fd_ >= 0) {
        notifier_.reset();
        ::close(fd_);
        ::unlink(QFile::encodeName(path_).constData());
    }
}

bool HandoffListener::Listen(const QString& socketPath) {
    sockaddr_un address{};
    if (fd_ >= 0 || !FillAddress(socketPath, address)) {
        return false;
    }
    struct stat st {};
    if (::lstat(address.sun_path, &st) == 0) {
        if (!S_ISSOCK(st.st_mode) || st.st_uid != ::geteuid()) {
            qCDebug(lcStartup) << "not a socket of ours, left alone:" << socketPath;
            return false;
        }
        ::unlink(address.sun_path);
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::chmod(address.sun_path, 0600) != 0 || ::listen(fd, int(kMaxClients)) != 0) {
        qCDebug(lcStartup) << "cannot listen at" << socketPath << std::strerror(errno);
        ::close(fd);
        return false;
    }
    fd_ = fd;
    path_ = socketPath;
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { Accept(); });
    return true;
}

void HandoffListener::Accept() {
    const int fd = ::accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
        return;
    }
    if (!PeerIsMe(fd)) {
        ::close(fd);
        return;
    }
    if (clients_.size() >= kMaxClients) {
        Drop(clients_.front().get());
    }
    auto client = std::make_unique<Client>();
    client->fd = fd;
    client->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    Client* raw = client.get();
    QObject::connect(raw->notifier.get(), &QSocketNotifier::activated, [this, raw] { Read(raw); });
    clients_.push_back(std::move(client));
}

void HandoffListener::Read(Client* client) {
    char buffer[1024];
    ssize_t n = 0;
    while ((n = ::recv(client->fd, buffer, sizeof(buffer), 0)) > 0) {
        client->received.append(buffer, n);
    }
    const qsizetype end = client->received.indexOf('\0');
    if (end < 0 && n < 0 && (errno == EAGAIN || errno == EINTR) &&
        client->received.size() <= kMaxMessage) {
        return;  // more to come
    }
    client->notifier->setEnabled(false);
    if (end > 0 && end <= kMaxMessage) {
        const bool taken = onPath_(QFile::decodeName(client->received.left(end)));
        SendAll(client->fd, taken ? QByteArrayLiteral("1") : QByteArrayLiteral("0"));
    }
    Drop(client);
}

void HandoffListener::Drop(Client* client) {
    client->notifier->setEnabled(false);
    ::close(client->fd);
    for (auto it = clients_.begin(); it != clients_.end(); ++it) {
        if (it->get() == client) {
            // The notifier may be the one whose signal is running: let it go on the event loop.
            it->get()->notifier.release()->deleteLater();
            clients_.erase(it);
            return;
        }
    }
}

}  // namespace leafsong
