#include "music/sound_files.h"

#include <QProcess>
#include <QtEndian>
#include <cmath>
#include <numbers>
#include <random>

namespace leafsong::test {
namespace {

QByteArray Le32(quint32 v) {
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}
QByteArray Chunk(const char* tag, const QByteArray& body) {  // a MIDI chunk: big-endian length
    QByteArray b = tag + QByteArray(4, '\0') + body;
    qToBigEndian(quint32(body.size()), b.data() + 4);
    return b;
}
QByteArray MidiHeader(const char* formatTracks) {  // division 480
    return Chunk("MThd", QByteArray::fromHex(QByteArray(formatTracks) + "01e0"));
}

}  // namespace

QByteArray ToneWav(int ms) {
    QByteArray data;
    for (int i = 0; i < 22050 * ms / 1000; ++i) {
        const auto s =
            qToLittleEndian(qint16(9830 * std::sin(2 * std::numbers::pi * 440 * i / 22050)));
        data.append(reinterpret_cast<const char*>(&s), 2);
    }
    // PCM, mono, 22050 Hz, 44100 bytes a second, 2-byte frames of 16 bits.
    return "RIFF" + Le32(36 + data.size()) + "WAVEfmt " +
           QByteArray::fromHex("10000000 0100 0100 22560000 44ac0000 0200 1000") + "data" +
           Le32(data.size()) + data;
}

QByteArray MelodyMidi(const QList<int>& pitches, int noteMs) {
    const quint32 ticks = noteMs * 480 / 500;  // 120 quarter notes of 480 ticks a minute
    QByteArray track = QByteArray::fromHex("00ff510307a120 00c000");  // the tempo, a piano
    for (int pitch : pitches) {
        track += QByteArray::fromHex("0090") + char(pitch) + char(100);
        for (int shift = 21; shift > 0; shift -= 7) {
            if (ticks >> shift) {
                track += char(0x80 | ((ticks >> shift) & 0x7f));
            }
        }
        track += char(ticks & 0x7f) + QByteArray(1, char(0x80)) + char(pitch) + '\0';
    }
    return MidiHeader("00000001") + Chunk("MTrk", track + QByteArray::fromHex("00ff2f00"));
}

QByteArray RiffMidi(const QByteArray& midi) {
    return "RIFF" + Le32(12 + midi.size()) + "RMIDdata" + Le32(midi.size()) + midi;
}

QByteArray GarbageMidi() {
    std::mt19937 rng(7);
    QByteArray noise(350, '\0');
    for (char& c : noise) {
        c = char(rng());
    }
    const QByteArray tooLong = Chunk("MTrk", QByteArray(100000, '\0')).left(8);
    return MidiHeader("00010002") + Chunk("MTrk", noise.left(300)) + tooLong + noise.mid(300);
}

QString Encode(const QString& wav, const QString& out) {
    QStringList args{QStringLiteral("--quiet"), wav, out};
    QString program = QStringLiteral("lame");
    if (out.endsWith(QStringLiteral(".wma"))) {  // gst-launch joins its words: no blanks in paths
        program = QStringLiteral("gst-launch-1.0");
        args = QStringLiteral(
                   "-q filesrc location=%1 ! wavparse ! audioconvert ! audioresample ! "
                   "avenc_wmav2 ! asfmux ! filesink location=%2")
                   .arg(wav, out)
                   .split(u' ');
    }
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        return program + QStringLiteral(" failed (scripts/install-deps.sh --test installs it): ") +
               QString::fromLocal8Bit(p.readAll());
    }
    return {};
}

}  // namespace leafsong::test
