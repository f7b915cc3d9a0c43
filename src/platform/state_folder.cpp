#include "platform/state_folder.h"

#include <QDir>

namespace leafsong {

QString StateFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state)) {
        const QString home = qEnvironmentVariable("HOME");
        if (home.isEmpty()) {
            return {};
        }
        state = home + QStringLiteral("/.local/state");
    }
    return state + QStringLiteral("/leafsong/");
}

}  // namespace leafsong
