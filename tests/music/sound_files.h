#pragma once
// Short sound files made on the spot, with nothing downloaded.

#include <QByteArray>
#include <QList>
#include <QString>

namespace leafsong::test {

QByteArray ToneWav(int ms);  // mono 16-bit PCM, a soft 440 Hz tone
QByteArray MelodyMidi(const QList<int>& pitches, int noteMs);  // format 0, one note after another
QByteArray RiffMidi(const QByteArray& midi);                   // wrapped in RIFF "RMID"
QByteArray GarbageMidi();  // a sound header, then noise tracks, one longer than the file
// wav -> .mp3 (lame) or .wma (GStreamer); empty when it worked, else what went wrong.
QString Encode(const QString& wav, const QString& out);

}  // namespace leafsong::test
