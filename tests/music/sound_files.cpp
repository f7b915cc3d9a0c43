#include "music/sound_files.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

namespace leafsong::test {
namespace {

using namespace Qt::StringLiterals;

QByteArray Word(qsizetype v, bool bigEndian = false) {  // 32 bits: MIDI's big-endian, RIFF's not
    QByteArray b(4, '\0');
    bigEndian ? qToBigEndian(quint32(v), b.data()) : qToLittleEndian(quint32(v), b.data());
    return b;
}

}  // namespace

QByteArray Tone(int ms, const QString& format) {
    const QString encoder = format == u"wav"_s   ? u"wavenc"_s
                            : format == u"mp3"_s ? u"lamemp3enc"_s
                                                 : u"avenc_wmav2 ! asfmux"_s;
    const QTemporaryDir dir;  // gst-launch joins its words again: a path without blanks
    QFile file(dir.filePath(u"tone."_s + format));
    QProcess gst;
    gst.start(u"gst-launch-1.0"_s,
              u"-q audiotestsrc num-buffers=%1 samplesperbuffer=441 volume=0.3 ! "
              u"audio/x-raw,rate=22050,channels=1 ! audioconvert ! %2 ! filesink location=%3"_s
                  .arg(QString::number(ms / 20), encoder, file.fileName())
                  .split(u' '));
    if (!gst.waitForFinished(60000) || gst.exitStatus() != QProcess::NormalExit ||
        gst.exitCode() != 0 || !file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "GStreamer cannot make " << format.toStdString()
                      << " (scripts/install-deps.sh --test installs it): "
                      << gst.readAllStandardError().toStdString();
    }
    return file.readAll();
}

QByteArray MelodyMidi(int noteMs, bool riff) {
    const int ticks = noteMs * 480 / 500;  // 120 quarter notes of 480 ticks a minute
    QByteArray track;
    for (const char pitch : {60, 64, 67}) {  // on at once, off after two bytes of delta time
        track += QByteArray::fromHex("0090") + pitch + char(100) + char(0x80 | ticks >> 7) +
                 char(ticks & 0x7f) + char(0x80) + pitch + '\0';
    }
    track += QByteArray::fromHex("00ff2f00");  // the track's end
    const QByteArray midi = "MThd" + QByteArray::fromHex("00000006 0000 0001 01e0") + "MTrk" +
                            Word(track.size(), true) + track;
    return riff ? "RIFF" + Word(12 + midi.size()) + "RMIDdata" + Word(midi.size()) + midi : midi;
}

}  // namespace leafsong::test
