#pragma once
// leafsong [FOLDER] | --help | --version

#include <QString>
#include <QStringList>

namespace leafsong {

struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    QString folder;   // absolute, cleaned; empty when none was given
    QString message;  // for Help, Version and Error: what to print
};

// Parses the arguments after the program's name; a folder is made absolute against cwd.
CommandLine ParseCommandLine(const QStringList& args, const QString& cwd);

}  // namespace leafsong
