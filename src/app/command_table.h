#pragma once
// The one table of the album's commands: what each does is bound here once, and keys, menu
// items, drops and the command line all run commands through it.

#include <QStringList>
#include <array>
#include <functional>

#include "core/commands.h"

namespace leafsong {

class CommandTable {
public:
    // args: the paths of OpenFolder (and the picture to open at), PlayMusic, OpenDropped and
    // OpenGiven; empty for the others.
    using Handler = std::function<void(const QStringList& args)>;

    void Bind(Command command, Handler handler);
    // Runs the command's handler; a command bound to nothing does nothing.
    void Run(Command command, const QStringList& args = {}) const;

private:
    static constexpr size_t kCount = static_cast<size_t>(Command::OpenGiven) + 1;
    std::array<Handler, kCount> handlers_;
};

}  // namespace leafsong
