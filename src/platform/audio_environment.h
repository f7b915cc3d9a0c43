#pragma once
// How the sound library is set up, before the application object exists.

#include <QString>
#include <QStringList>

namespace leafsong {

// Where a sound output would show itself on this machine.
struct SoundProbe {
    QString deviceFolder;       // ALSA's device nodes (/dev/snd)
    QStringList serverSockets;  // sockets of PulseAudio or PipeWire that may exist
    bool serverNamed = false;   // PULSE_SERVER names a server
};

// The places of this machine and session.
SoundProbe DefaultSoundProbe();

// True when the probe finds a playback device or a sound server.
bool HasSoundOutput(const SoundProbe& probe);

// Picks Qt Multimedia's GStreamer backend unless the user chose one (the other one refuses to
// play without a sound device). Where no sound output exists, GStreamer is told to play into its
// silent real-time sink before it tries any real one: each real one it tries prints its failure
// on the terminal. Variables the user set are kept.
void PrepareAudioEnvironment(const SoundProbe& probe = DefaultSoundProbe());

}  // namespace leafsong
