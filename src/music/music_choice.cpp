#include "music/music_choice.h"

#include "common/path_utils.h"

namespace leafsong {

QString MusicFilter() {
    return QStringLiteral(
        "WaveAudio Files (*.wav)|*.wav"
        "|Sequencer Files (*.mid;*.rmi;*.midi)|*.mid;*.rmi;*.midi"
        "|CDAudio Files (*.cda)|*.cda"
        "|MPEGVideo2 Files (*.wma)|*.wma"
        "|MPEGVideo Files (*.mp3;*.snd)|*.mp3;*.snd");
}

void mnuMusic_Click(Dialogs& dialogs, QWidget* owner, AlbumState& state, MediaPlayer& media,
                    const QString& programDir) {
    const QString filter = MusicFilter();
    QString name = GetFileName(state.BackGroundMusic);
    QString folder = GetPathName(state.BackGroundMusic);
    if (!FileExists(state.BackGroundMusic)) {
        name.clear();
    }
    if (!FolderExists(folder)) {
        folder = programDir;
    }
    const int index = GetFilterIndex(GetExtName(state.BackGroundMusic), filter);
    const QString chosen = dialogs.FileDialog(owner, kOpenMode, QString::fromUtf16(kMusicTitle),
                                              name, filter, folder, QStringLiteral("mp3"), index);
    // The same file again: the tune that plays goes on undisturbed.
    if (chosen.isEmpty() || !FileExists(chosen) || chosen == state.BackGroundMusic) {
        return;
    }
    state.BackGroundMusic = chosen;
    media.OpenMedia(state.BackGroundMusic);
    media.PlayMedia();
}

DropChoice ChooseDropped(const QStringList& paths) {
    static const QStringList kPictures{QStringLiteral("JPG"), QStringLiteral("BMP"),
                                       QStringLiteral("GIF")};
    static const QStringList kMusic{
        QStringLiteral("MP3"), QStringLiteral("WMA"), QStringLiteral("WAV"), QStringLiteral("MIDI"),
        QStringLiteral("MID"), QStringLiteral("CDA"), QStringLiteral("SND"), QStringLiteral("RMI")};
    for (const QString& path : paths) {
        const QString ext = GetExtName(path).toUpper();
        if (kPictures.contains(ext)) {
            return {DropChoice::Kind::Picture, path};
        }
        if (kMusic.contains(ext)) {
            return {DropChoice::Kind::Music, path};
        }
    }
    return {};
}

}  // namespace leafsong
