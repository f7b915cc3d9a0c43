#include "platform/instance_lock.h"

#include <unistd.h>

namespace leafsong {

QString InstanceLock::DefaultName() {
    return QStringLiteral("leafsong-%1").arg(::getuid());
}

bool InstanceLock::TryAcquire(const QString& name) {
    if (server_.isListening()) {
        return true;
    }
    server_.setSocketOptions(QLocalServer::AbstractNamespaceOption);
    // No one ever connects: the bound name alone is the lock.
    server_.setMaxPendingConnections(1);
    return server_.listen(name);
}

}  // namespace leafsong
