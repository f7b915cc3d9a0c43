#include "app/drops.h"

#include "common/path_utils.h"
#include "music/music_choice.h"
#include "platform/log.h"

namespace leafsong {

void TakeDroppedFiles(const QStringList& paths, AlbumState& state, Listing& File1,
                      MediaPlayer& media, const std::function<void()>& layOut) {
    const DropChoice choice = ChooseDropped(paths);
    qCDebug(lcInput) << "drop of" << paths.size() << "files took" << choice.path;
    switch (choice.kind) {
        case DropChoice::Kind::Picture:
            state.PicturePath = GetPathName(choice.path);
            File1.SetPath(state.PicturePath);
            if (layOut) {
                layOut();
            }
            break;
        case DropChoice::Kind::Music:
            state.BackGroundMusic = choice.path;
            if (FileExists(state.BackGroundMusic)) {
                media.OpenMedia(state.BackGroundMusic);
                media.PlayMedia();
            }
            break;
        case DropChoice::Kind::None:
            break;
    }
}

}  // namespace leafsong
