#pragma once
// The guide: a plain-text file shown in the user's text editor.

#include <QByteArray>
#include <QString>

#include "platform/editor.h"

namespace leafsong {

inline constexpr char kReadmeName[] = "ReadMe.txt";

// The guide's 30 lines, UTF-8, each ending in CR LF, no byte-order mark.
QByteArray ReadmeText();

class Guide {
public:
    // The guide is written into tempDir (private to the user); the current directory becomes
    // programDir on each request.
    Guide(QString tempDir, QString programDir, EditorLauncher& editor);

    // Writes the guide afresh (replacing an earlier copy whole), makes the program's folder the
    // current directory and opens the guide in the editor. Failures are quiet.
    void ShowReadme();
    // Deletes the guide (at the album's exit: an editor may read it until then).
    void Remove();
    QString file() const;
    void setTempDir(const QString& tempDir) { tempDir_ = tempDir; }

private:
    QString tempDir_;
    QString programDir_;
    EditorLauncher& editor_;
    bool written_ = false;
};

}  // namespace leafsong
