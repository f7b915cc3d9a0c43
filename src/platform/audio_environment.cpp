#include "platform/audio_environment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace leafsong {

SoundProbe DefaultSoundProbe() {
    SoundProbe probe;
    probe.deviceFolder = QStringLiteral("/dev/snd");
    const QString runtime = QFile::decodeName(qgetenv("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty()) {
        probe.serverSockets << runtime + QStringLiteral("/pulse/native")
                            << runtime + QStringLiteral("/pipewire-0");
    }
    probe.serverSockets << QStringLiteral("/run/pulse/native");
    probe.serverNamed = !qEnvironmentVariableIsEmpty("PULSE_SERVER");
    return probe;
}

bool HasSoundOutput(const SoundProbe& probe) {
    if (probe.serverNamed) {
        return true;
    }
    for (const QString& socket : probe.serverSockets) {
        if (QFileInfo::exists(socket)) {
            return true;
        }
    }
    // Playback devices are named pcmC<card>D<device>p.
    const QStringList devices = QDir(probe.deviceFolder)
                                    .entryList({QStringLiteral("pcmC*D*p")},
                                               QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    return !devices.isEmpty();
}

void PrepareAudioEnvironment(const SoundProbe& probe) {
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) {
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
    }
    if (HasSoundOutput(probe)) {
        return;
    }
    // Later entries win, so the user's own ranks stay in force.
    QByteArray ranks = "fakeaudiosink:MAX";
    const QByteArray user = qgetenv("GST_PLUGIN_FEATURE_RANK");
    if (user.startsWith(ranks)) {
        return;
    }
    if (!user.isEmpty()) {
        ranks += ',' + user;
    }
    qputenv("GST_PLUGIN_FEATURE_RANK", ranks);
}

}  // namespace leafsong
