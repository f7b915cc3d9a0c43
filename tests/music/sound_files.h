#pragma once
// Short sound files made on the spot, with nothing downloaded.

#include <QByteArray>
#include <QString>

namespace leafsong::test {

// A soft tone of ms, mono at 22050 Hz, as "wav", "mp3" or "wma" from GStreamer; a test failure
// when that cannot be done.
QByteArray Tone(int ms, const QString& format);
// C, E and G of noteMs each (under 16 s) in a format-0 file, or wrapped in RIFF "RMID".
QByteArray MelodyMidi(int noteMs, bool riff = false);

}  // namespace leafsong::test
