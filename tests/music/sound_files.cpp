#include "music/sound_files.h"

#include <QProcess>
#include <QtEndian>
#include <cmath>
#include <numbers>
#include <random>

namespace leafsong::test {

namespace {

void Put16(QByteArray& b, quint16 v) {
    char bytes[2];
    qToLittleEndian(v, bytes);
    b.append(bytes, 2);
}

void Put32(QByteArray& b, quint32 v) {
    char bytes[4];
    qToLittleEndian(v, bytes);
    b.append(bytes, 4);
}

void Put32Big(QByteArray& b, quint32 v) {
    char bytes[4];
    qToBigEndian(v, bytes);
    b.append(bytes, 4);
}

void PutVarLen(QByteArray& b, quint32 v) {
    QByteArray out(1, char(v & 0x7f));
    while ((v >>= 7) != 0) {
        out.prepend(char((v & 0x7f) | 0x80));
    }
    b += out;
}

QByteArray MidiHeader(quint16 format, quint16 tracks, quint16 division) {
    QByteArray b("MThd");
    Put32Big(b, 6);
    for (quint16 v : {format, tracks, division}) {
        b.append(char(v >> 8)).append(char(v & 0xff));
    }
    return b;
}

}  // namespace

QByteArray ToneWav(int ms, int rate) {
    const int frames = rate * ms / 1000;
    QByteArray data;
    data.reserve(frames * 2);
    for (int i = 0; i < frames; ++i) {
        const double s = 0.3 * std::sin(2 * std::numbers::pi * 440.0 * i / rate);
        Put16(data, quint16(qint16(std::lround(s * 32767))));
    }
    QByteArray wav("RIFF");
    Put32(wav, quint32(36 + data.size()));
    wav += "WAVEfmt ";
    Put32(wav, 16);
    Put16(wav, 1);  // PCM
    Put16(wav, 1);  // mono
    Put32(wav, quint32(rate));
    Put32(wav, quint32(rate * 2));
    Put16(wav, 2);
    Put16(wav, 16);
    wav += "data";
    Put32(wav, quint32(data.size()));
    return wav + data;
}

QByteArray MelodyMidi(const QList<int>& pitches, int noteMs) {
    constexpr int kDivision = 480;
    constexpr quint32 kTempo = 500000;  // microseconds a quarter note: 120 a minute
    const quint32 ticks = quint32(noteMs) * kDivision * 1000 / kTempo;
    QByteArray track;
    PutVarLen(track, 0);
    track += QByteArray::fromHex("ff5103");
    track.append(char(kTempo >> 16)).append(char((kTempo >> 8) & 0xff)).append(char(kTempo & 0xff));
    PutVarLen(track, 0);
    track += QByteArray::fromHex("c000");  // piano
    for (int pitch : pitches) {
        PutVarLen(track, 0);
        track.append(char(0x90)).append(char(pitch)).append(char(100));
        PutVarLen(track, ticks);
        track.append(char(0x80)).append(char(pitch)).append(char(0));
    }
    PutVarLen(track, 0);
    track += QByteArray::fromHex("ff2f00");
    QByteArray midi = MidiHeader(0, 1, kDivision) + "MTrk";
    Put32Big(midi, quint32(track.size()));
    return midi + track;
}

QByteArray RiffMidi(const QByteArray& midi) {
    QByteArray riff("RIFF");
    Put32(riff, quint32(12 + midi.size()));
    riff += "RMIDdata";
    Put32(riff, quint32(midi.size()));
    return riff + midi;
}

QByteArray GarbageMidi() {
    std::mt19937 rng(7);
    auto noise = [&rng](int n) {
        QByteArray b;
        for (int i = 0; i < n; ++i) {
            b.append(char(rng() & 0xff));
        }
        return b;
    };
    QByteArray midi = MidiHeader(1, 2, 480) + "MTrk";
    Put32Big(midi, 300);
    midi += noise(300);
    midi += "MTrk";
    Put32Big(midi, 100000);
    return midi + noise(50);
}

QString RunTool(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    if (!p.waitForStarted(10000)) {
        return program + QStringLiteral(" did not start (run scripts/install-deps.sh --test)");
    }
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        return program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(p.readAll());
    }
    return {};
}

QString EncodeMp3(const QString& wav, const QString& mp3) {
    return RunTool(QStringLiteral("lame"), {QStringLiteral("--quiet"), wav, mp3});
}

QString EncodeWma(const QString& wav, const QString& wma) {
    // gst-launch joins its words again: the paths must be free of blanks.
    QStringList words{QStringLiteral("-q"), QStringLiteral("filesrc"),
                      QStringLiteral("location=") + wav};
    for (const char* w :
         {"wavparse", "audioconvert", "audioresample", "avenc_wmav2", "asfmux", "filesink"}) {
        words << QStringLiteral("!") << QString::fromLatin1(w);
    }
    words << QStringLiteral("location=") + wma;
    return RunTool(QStringLiteral("gst-launch-1.0"), words);
}

}  // namespace leafsong::test
