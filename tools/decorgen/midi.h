#pragma once
// The greeting tune played on the user's birthday, written as a standard MIDI file.

#include <QByteArray>

namespace leafsong::decorgen {

// "Happy Birthday" as a format-0 MIDI file (one track, 480 ticks per quarter note, 3/4 time) on
// a music box.
QByteArray BirthdayTune();

}  // namespace leafsong::decorgen
