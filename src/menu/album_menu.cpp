#include "menu/album_menu.h"

namespace leafsong {

AlbumMenu::AlbumMenu(Modes& modes, MenuHandlers handlers)
    : mnuAlbum_(QStringLiteral("相册(&)"), &frmMenu_),
      mnuPicture_(QStringLiteral("选择图片文件夹(&P)")),
      mnuMusic_(QStringLiteral("选择背景音乐(&M)")),
      mnuHelp_(QStringLiteral("帮助(&H)")),
      mnuExit_(QStringLiteral("退出(&x)")) {
    mnuAlbum_.addAction(&mnuPicture_);
    mnuAlbum_.addAction(&mnuMusic_);
    mnuAlbum_.addSeparator();
    mnuAlbum_.addAction(&modes.mnuLoop);
    mnuAlbum_.addAction(&modes.mnuRepeat);
    mnuAlbum_.addSeparator();
    mnuAlbum_.addAction(&modes.mnuFooter);
    mnuAlbum_.addSeparator();
    mnuAlbum_.addAction(&mnuHelp_);
    mnuAlbum_.addSeparator();
    mnuAlbum_.addAction(&mnuExit_);

    // The check items toggle their own marks; the repeat timer follows its mark.
    QObject::connect(&modes.mnuRepeat, &QAction::triggered, &mnuAlbum_,
                     [&modes](bool on) { modes.SetRepeat(on); });
    const std::pair<QAction*, std::function<void()>> commands[] = {
        {&mnuPicture_, handlers.mnuPicture_Click},
        {&mnuMusic_, handlers.mnuMusic_Click},
        {&mnuHelp_, handlers.mnuHelp_Click},
        {&mnuExit_, handlers.mnuExit_Click},
    };
    for (const auto& [action, handler] : commands) {
        QObject::connect(action, &QAction::triggered, &mnuAlbum_, [handler = handler] {
            if (handler) {
                handler();
            }
        });
    }
}

void AlbumMenu::Popup(const QPoint& global) {
    mnuAlbum_.popup(global);
}

}  // namespace leafsong
