#pragma once
// A guard for the MIDI parser of GStreamer 1.22 (Debian 12): an event it cannot read inside a
// track sends it round the same event for ever, and the thread that stops the stream then waits
// for it for ever too. Files it would read to the end pass; the rest are not given to it.

#include <QByteArray>

namespace leafsong {

// True when the data begins like a MIDI file: "MThd", or a RIFF "RMID" wrapper.
bool LooksLikeMidi(const QByteArray& head);

// True when every track the header announces reads to its end, event by event, as that parser
// reads it, and the header's timing is one it can divide by.
bool IsReadableMidi(const QByteArray& file);

}  // namespace leafsong
