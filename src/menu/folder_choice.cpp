#include "menu/folder_choice.h"

namespace leafsong {

void mnuPicture_Click(Dialogs& dialogs, QWidget* owner, AlbumState& state, Listing& File1,
                      const std::function<void()>& layOut) {
    const QString folder = dialogs.BrowseFolder(owner, QString::fromUtf16(kFolderTitle));
    if (folder.isEmpty()) {
        return;
    }
    state.PicturePath = folder;
    File1.SetPath(folder);
    if (layOut) {
        layOut();
    }
}

}  // namespace leafsong
