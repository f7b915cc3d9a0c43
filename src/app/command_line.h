#pragma once
// leafsong [FILE|FOLDER] | --help | --version

#include <QString>
#include <QStringList>

namespace leafsong {

// What a path given to the album asks of it.
struct OpenRequest {
    enum class Kind { None, Folder, Picture, Music };
    Kind kind = Kind::None;
    QString path;  // absolute and cleaned
};

// The request a path makes, judged on the file system now: a folder the user may list, or a
// picture or music file (by its extension, as a drop is judged) the user may read. Otherwise
// Kind::None, and *reason says why ("No such file or directory", "Permission denied", ...).
OpenRequest ClassifyPath(const QString& path, QString* reason);

struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    OpenRequest open;  // what the album opens at start; Kind::None when nothing was given
    QString message;   // for Help, Version and Error: what to print
};

// Parses the arguments after the program's name; a path is made absolute against cwd and must be
// a folder, a picture or a music file the user may read (Error, one line naming it, otherwise).
CommandLine ParseCommandLine(const QStringList& args, const QString& cwd);

}  // namespace leafsong
