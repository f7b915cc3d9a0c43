#pragma once
// The guide: a plain-text file shown in the user's text editor.

#include <QByteArray>
#include <QString>
#include <functional>

#include "platform/dialogs.h"
#include "platform/editor.h"

namespace leafsong {

inline constexpr char kReadmeName[] = "ReadMe.txt";

// The guide's 30 lines in the installed language, UTF-8, each ending in CR LF, no byte-order mark.
QByteArray ReadmeText();

class Guide {
public:
    // The guide is written into tempDir (private to the user); the current directory becomes
    // programDir on each request. When no editor starts, a notice owned by owner() tells the user
    // where the guide is.
    Guide(QString tempDir, QString programDir, EditorLauncher& editor, Dialogs& dialogs,
          std::function<QWidget*()> owner);

    // Writes the guide afresh (replacing an earlier copy whole), makes the program's folder the
    // current directory and opens the guide in the editor. A guide that cannot be written is
    // passed over quietly; one no editor can open is named in a notice, with how to choose one.
    void ShowReadme();
    // Deletes the guide (at the album's exit: an editor may read it until then).
    void Remove();
    QString file() const;
    void setTempDir(const QString& tempDir) { tempDir_ = tempDir; }

private:
    QString tempDir_;
    QString programDir_;
    EditorLauncher& editor_;
    Dialogs& dialogs_;
    std::function<QWidget*()> owner_;
    bool written_ = false;
};

}  // namespace leafsong
