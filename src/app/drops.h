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

// The first path whose extension (the text after the last dot of the whole path, in any letter
// case) is a picture's, as the listing takes them (JPG, JPEG, JPE, PNG, WEBP, TIF, TIFF, BMP, GIF),
// or music's: MP3, WMA, WAV, MIDI, MID, CDA, SND or RMI.
DropChoice ChooseDropped(const QStringList& paths);

}  // namespace leafsong
