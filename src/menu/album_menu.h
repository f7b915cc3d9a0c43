#pragma once
// The popup menu. Its owner is a hidden widget that is never shown (it also owns the dialogs).
// Each item runs one of the album's commands; the check items show the modes.

#include <QMenu>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <functional>

#include "core/commands.h"
#include "core/modes.h"

namespace leafsong {

// The folder dialog's title.
QString FolderTitle();

// The mode a toggle command switches, or null for other commands.
bool Modes::*ModeOf(Command command);

class AlbumMenu {
public:
    // run carries out an item's command; the check marks are read from modes when the menu opens.
    AlbumMenu(const std::function<void(Command)>& run, const Modes& modes);
    AlbumMenu(const AlbumMenu&) = delete;
    AlbumMenu& operator=(const AlbumMenu&) = delete;

    // Opens the menu at a point of the screen without waiting for it.
    void Popup(const QPoint& global);
    QMenu& mnuAlbum() { return mnuAlbum_; }
    // The hidden owner of the menu and of the dialogs.
    QWidget* frmMenu() { return &frmMenu_; }

private:
    void ShowModes();

    const Modes& modes_;
    QWidget frmMenu_;
    QMenu mnuAlbum_;
};

}  // namespace leafsong
