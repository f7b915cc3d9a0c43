#include "app/command_table.h"

#include "platform/log.h"

namespace leafsong {

void CommandTable::Bind(Command command, Handler handler) {
    handlers_.at(static_cast<size_t>(command)) = std::move(handler);
}

void CommandTable::Run(Command command, const QStringList& args) const {
    qCDebug(lcInput) << "command" << static_cast<int>(command) << args;
    if (const Handler& handler = handlers_.at(static_cast<size_t>(command))) {
        handler(args);
    }
}

}  // namespace leafsong
