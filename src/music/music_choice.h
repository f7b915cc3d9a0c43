#pragma once
// Choosing the background music: the music command and dropped files.

#include <QString>
#include <QStringList>

#include "app/album_state.h"
#include "menu/dialogs.h"
#include "music/media_player.h"

namespace leafsong {

// The music dialog's filter: five description|pattern pairs.
QString MusicFilter();
inline constexpr char16_t kMusicTitle[] = u"选择背景音乐";

// Asks for a music file, starting at the current one's folder (the program's folder when that is
// gone) on the filter entry of its extension. A chosen existing file that differs from the
// current music becomes BackGroundMusic and plays from its start; the same file again leaves the
// music undisturbed. A cancelled dialog changes nothing.
void mnuMusic_Click(Dialogs& dialogs, QWidget* owner, AlbumState& state, MediaPlayer& media,
                    const QString& programDir);

// What a drop brings: the first picture or music file of the dropped paths.
struct DropChoice {
    enum class Kind { None, Picture, Music };
    Kind kind = Kind::None;
    QString path;
};

// The first path whose upper-cased extension (the text after the last dot of the whole path) is
// JPG, BMP or GIF (a picture) or MP3, WMA, WAV, MIDI, MID, CDA, SND or RMI (music).
DropChoice ChooseDropped(const QStringList& paths);

}  // namespace leafsong
