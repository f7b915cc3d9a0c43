#pragma once
// Opening a text file in the user's editor.

#include <QString>

namespace leafsong {

// Starts a text editor on a file without waiting for it.
class EditorLauncher {
public:
    virtual ~EditorLauncher() = default;
    virtual void Open(const QString& file) = 0;
};

// $LEAFSONG_EDITOR (a program run with the file as its one argument) when it is set, otherwise
// the desktop's application for text files.
class DesktopEditor final : public EditorLauncher {
public:
    void Open(const QString& file) override;
};

}  // namespace leafsong
