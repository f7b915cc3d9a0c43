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

QString AskForMusic(Dialogs& dialogs, QWidget* owner, const QString& current,
                    const QString& programDir) {
    const QString filter = MusicFilter();
    QString name = GetFileName(current);
    QString folder = GetPathName(current);
    if (!FileExists(current)) {
        name.clear();
    }
    if (!FolderExists(folder)) {
        folder = programDir;
    }
    const int index = GetFilterIndex(GetExtName(current), filter);
    QString chosen = dialogs.FileDialog(owner, kOpenMode, QString::fromUtf16(kMusicTitle), name,
                                        filter, folder, QStringLiteral("mp3"), index);
    if (chosen.isEmpty() || !FileExists(chosen) || chosen == current) {
        return {};
    }
    return chosen;
}

}  // namespace leafsong
