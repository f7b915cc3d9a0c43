#include "music/media_player.h"

#include <array>

#include "common/path_utils.h"
#include "platform/media_commands.h"
#include "platform/short_name.h"

namespace leafsong {

namespace {

struct DeviceRow {
    const char* extension;
    const char* type;
};

// Looked up in this order; what is not listed plays as MPEGVideo.
constexpr std::array kDeviceTable = {
    DeviceRow{"MID", "Sequencer"}, DeviceRow{"RMI", "Sequencer"},  DeviceRow{"MIDI", "Sequencer"},
    DeviceRow{"WAV", "Waveaudio"}, DeviceRow{"AVI", "AVIVideo"},   DeviceRow{"CDA", "CDAudio"},
    DeviceRow{"AIF", "MPEGVideo"}, DeviceRow{"AIFC", "MPEGVideo"}, DeviceRow{"AIFF", "MPEGVideo"},
    DeviceRow{"AU", "MPEGVideo"},  DeviceRow{"M1V", "MPEGVideo"},  DeviceRow{"M3U", "MPEGVideo"},
    DeviceRow{"MOV", "MPEGVideo"}, DeviceRow{"MP2", "MPEGVideo"},  DeviceRow{"MP3", "MPEGVideo"},
    DeviceRow{"MPA", "MPEGVideo"}, DeviceRow{"MPE", "MPEGVideo"},  DeviceRow{"MPEG", "MPEGVideo"},
    DeviceRow{"MPG", "MPEGVideo"}, DeviceRow{"MPV2", "MPEGVideo"}, DeviceRow{"QT", "MPEGVideo"},
    DeviceRow{"SND", "MPEGVideo"}, DeviceRow{"RM", "RealPlayer"},  DeviceRow{"RAM", "RealPlayer"},
    DeviceRow{"RA", "RealPlayer"},
};

const QLatin1StringView kRealPlayer("RealPlayer");

bool IsVideo(const QString& type) {
    return type == QLatin1StringView("MPEGVideo") || type == QLatin1StringView("AVIVideo");
}

}  // namespace

QString GetDeviceType(const QString& path) {
    const QString ext = GetExtName(path).toUpper();
    for (const DeviceRow& row : kDeviceTable) {
        if (ext == QLatin1StringView(row.extension)) {
            return QLatin1StringView(row.type);
        }
    }
    return QStringLiteral("MPEGVideo");
}

CommandPlayer::CommandPlayer(MediaCommandSink& mci, ShortNames& names) : mci_(mci), names_(names) {}

bool CommandPlayer::OpenMedia(const QString& path, int parentWindow) {
    CloseMedia();
    const QString shortName = names_.GetShortName(path);
    const QString type = GetDeviceType(shortName);
    if (type == kRealPlayer) {
        return false;
    }
    QString command = QStringLiteral("open ") + shortName + QStringLiteral(" type ") + type +
                      QStringLiteral(" alias NOWMEDIA");
    if (IsVideo(type) && parentWindow == 0) {
        command += QStringLiteral(" style overlapped ");
    }
    const int opened = mci_.Send(command, nullptr);
    mci_.Send(QStringLiteral("set NOWMEDIA time format milliseconds"), nullptr);
    if (opened != 0) {
        return false;
    }
    current_ = path;
    return true;
}

bool CommandPlayer::PlayMedia() {
    return mci_.Send(QStringLiteral("play NOWMEDIA"), nullptr) == 0;
}

bool CommandPlayer::CloseMedia() {
    if (mci_.Send(QStringLiteral("close NOWMEDIA"), nullptr) != 0) {
        return false;
    }
    current_.clear();
    return true;
}

bool CommandPlayer::IsPlaying() {
    QString reply;
    mci_.Send(QStringLiteral("status NOWMEDIA mode"), &reply);
    // Media services on Chinese-language systems answer in Chinese.
    return reply.startsWith(QLatin1StringView("playing")) ||
           reply.startsWith(QStringLiteral("播放"));
}

}  // namespace leafsong
