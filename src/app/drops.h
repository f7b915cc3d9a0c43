#pragma once
// Files dropped on the album from a file manager.

#include <QStringList>
#include <functional>

#include "app/album_state.h"
#include "music/media_player.h"
#include "pages/listing.h"

namespace leafsong {

// Takes the first usable file of a drop: a picture makes its folder the album folder and lays the
// album out afresh (layOut); a music file becomes the background music and plays from its start,
// even when it is the one playing. Anything else is ignored.
void TakeDroppedFiles(const QStringList& paths, AlbumState& state, Listing& File1,
                      MediaPlayer& media, const std::function<void()>& layOut);

}  // namespace leafsong
