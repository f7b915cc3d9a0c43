#pragma once
// A second copy of the album hands the file it was given to the running one, over a Unix socket
// beside the single-copy lock: a folder only the user can enter, and both ends check that the
// other is the same user.

#include <QByteArray>
#include <QSocketNotifier>
#include <QString>
#include <functional>
#include <list>
#include <memory>

namespace leafsong {

// The socket beside a lock file: leafsong.lock gives leafsong.sock. Empty for an empty lock path.
QString HandoffSocketPath(const QString& lockPath);

enum class HandoffResult {
    Taken,    // the running album took the path
    Refused,  // it answered no, or did not answer in time
    NoAlbum,  // nothing listens there
};

// Sends path to the album listening at socketPath and waits up to timeoutMs for its answer.
HandoffResult HandToRunningAlbum(const QString& socketPath, const QString& path, int timeoutMs);

class HandoffListener {
public:
    // onPath runs on the event loop with each path handed over; its answer goes back.
    explicit HandoffListener(std::function<bool(const QString& path)> onPath);
    // Stops listening and removes the socket.
    ~HandoffListener();
    HandoffListener(const HandoffListener&) = delete;
    HandoffListener& operator=(const HandoffListener&) = delete;

    // Listens at socketPath, replacing a socket left there by a copy that died (the caller holds
    // the single-copy lock); anything but a socket at that path is left alone, and false returned.
    bool Listen(const QString& socketPath);

private:
    struct Client {
        int fd = -1;
        QByteArray received;
        std::unique_ptr<QSocketNotifier> notifier;
    };

    void Accept();
    void Read(Client* client);
    void Drop(Client* client);

    std::function<bool(const QString&)> onPath_;
    QString path_;
    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::list<std::unique_ptr<Client>> clients_;
};

}  // namespace leafsong
