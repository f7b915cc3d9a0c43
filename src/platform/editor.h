#pragma once
// Opening a text file in the user's editor.

#include <QString>
#include <QStringList>

namespace leafsong {

// Starts a text editor on a file without waiting for it.
class EditorLauncher {
public:
    virtual ~EditorLauncher() = default;
    // False when no editor could be started: the user must be told where the file is.
    virtual bool Open(const QString& file) = 0;
};

// The command line for an editor variable such as "code --wait" or "\"/opt/My Editor/ed\" -s":
// its words, then the file. Blanks separate words, double quotes keep blanks inside one (single
// quotes are plain characters) and nothing is expanded: no shell runs. Empty when the variable
// holds no word.
QStringList EditorCommand(const QString& variable, const QString& file);

// $LEAFSONG_EDITOR when it holds a command, otherwise xdg-open, which hands the file to the
// desktop's application for text files. Started detached, with the environment the user started
// the album with.
class DesktopEditor final : public EditorLauncher {
public:
    bool Open(const QString& file) override;
};

}  // namespace leafsong
