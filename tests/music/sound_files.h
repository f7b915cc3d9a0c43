#pragma once
// Short sound files made on the spot for the playback tests, with nothing downloaded.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace leafsong::test {

// A mono 16-bit PCM WAV file of a soft tone lasting ms milliseconds.
QByteArray ToneWav(int ms, int rate = 22050);

// A format-0 standard MIDI file playing the pitches one after another, noteMs each, on a piano.
QByteArray MelodyMidi(const QList<int>& pitches, int noteMs);

// The same MIDI data wrapped in a RIFF "RMID" file.
QByteArray RiffMidi(const QByteArray& midi);

// A MIDI file whose header is sound and whose tracks are noise, one of them claiming more bytes
// than the file holds.
QByteArray GarbageMidi();

// Runs an encoder; empty when it succeeded, else what went wrong.
QString RunTool(const QString& program, const QStringList& arguments);

// in.wav -> out.mp3 with lame.
QString EncodeMp3(const QString& wav, const QString& mp3);

// in.wav -> out.wma (WMA 2 in ASF) with GStreamer's own tools.
QString EncodeWma(const QString& wav, const QString& wma);

}  // namespace leafsong::test
