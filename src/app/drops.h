#pragma once
// What a drop of files brings to the album.

#include <QString>
#include <QStringList>

namespace leafsong {

struct DropChoice {
    enum class Kind { None, Picture, Music };
    Kind kind = Kind::None;
    QString path;
};

// The first path whose upper-cased extension (the text after the last dot of the whole path) is
// JPG, BMP or GIF (a picture) or MP3, WMA, WAV, MIDI, MID, CDA, SND or RMI (music).
DropChoice ChooseDropped(const QStringList& paths);

}  // namespace leafsong
