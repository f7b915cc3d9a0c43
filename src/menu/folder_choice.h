#pragma once
// The folder command: a folder chosen in the dialog becomes the album folder.

#include <functional>

#include "app/album_state.h"
#include "menu/dialogs.h"
#include "pages/listing.h"

namespace leafsong {

inline constexpr char16_t kFolderTitle[] = u"选择图片文件夹：";

// Asks for a folder; when one is chosen, it becomes PicturePath, the listing reads it and
// layOut lays the album out from its first picture. A cancelled dialog changes nothing.
void mnuPicture_Click(Dialogs& dialogs, QWidget* owner, AlbumState& state, Listing& File1,
                      const std::function<void()>& layOut);

}  // namespace leafsong
