#include "music/music_choice.h"

#include "common/path_utils.h"
#include "core/texts.h"

namespace leafsong {

namespace {

constexpr char kMusicTexts[] = "leafsong::MusicChoice";
constexpr char16_t kMusicTitle[] = u"选择背景音乐";

struct FilterEntry {
    // Repeats the patterns in brackets: the entry of an extension is found by its description.
    const char16_t* description;
    const char16_t* patterns;
};

constexpr FilterEntry kMusicFilter[] = {
    {u"WaveAudio Files (*.wav)", u"*.wav"},
    {u"Sequencer Files (*.mid;*.rmi;*.midi)", u"*.mid;*.rmi;*.midi"},
    {u"CDAudio Files (*.cda)", u"*.cda"},
    {u"MPEGVideo2 Files (*.wma)", u"*.wma"},
    {u"MPEGVideo Files (*.mp3;*.snd)", u"*.mp3;*.snd"},
};

}  // namespace

QString MusicFilter() {
    QStringList parts;
    for (const FilterEntry& entry : kMusicFilter) {
        parts << UserText(kMusicTexts, entry.description) << QString::fromUtf16(entry.patterns);
    }
    return parts.join(u'|');
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
    QString chosen = dialogs.FileDialog(owner, kOpenMode, UserText(kMusicTexts, kMusicTitle), name,
                                        filter, folder, QStringLiteral("mp3"), index);
    if (chosen.isEmpty() || !FileExists(chosen) || chosen == current) {
        return {};
    }
    return chosen;
}

}  // namespace leafsong
