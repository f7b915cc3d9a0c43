#pragma once
// One running copy per user. The lock is an abstract Unix socket named after the user id: it
// does not depend on the environment (a launcher and a terminal may see different temporary
// folders), and the kernel frees it when the holder dies, so a killed copy never blocks a start.

#include <QLocalServer>
#include <QString>

namespace leafsong {

class InstanceLock {
public:
    // The lock's name for the current user.
    static QString DefaultName();

    // True when this object now holds the lock; false when another holder has it.
    bool TryAcquire(const QString& name = DefaultName());
    bool held() const { return server_.isListening(); }

private:
    QLocalServer server_;
};

}  // namespace leafsong
