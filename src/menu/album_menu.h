#pragma once
// The popup menu. Its owner is a hidden widget that is never shown (it also owns the dialogs);
// its three check items are the album's modes. What each item does is given in one table of
// handlers.

#include <QAction>
#include <QMenu>
#include <QPoint>
#include <QWidget>
#include <functional>

#include "menu/modes.h"

namespace leafsong {

struct MenuHandlers {
    std::function<void()> mnuPicture_Click;
    std::function<void()> mnuMusic_Click;
    std::function<void()> mnuHelp_Click;
    std::function<void()> mnuExit_Click;
};

class AlbumMenu {
public:
    AlbumMenu(Modes& modes, MenuHandlers handlers);
    AlbumMenu(const AlbumMenu&) = delete;
    AlbumMenu& operator=(const AlbumMenu&) = delete;

    // Opens the menu at a point of the screen without waiting for it.
    void Popup(const QPoint& global);
    QMenu& mnuAlbum() { return mnuAlbum_; }
    // The hidden owner of the menu and of the dialogs.
    QWidget* frmMenu() { return &frmMenu_; }

private:
    QWidget frmMenu_;
    QMenu mnuAlbum_;
    QAction mnuPicture_;
    QAction mnuMusic_;
    QAction mnuHelp_;
    QAction mnuExit_;
};

}  // namespace leafsong
