#pragma once
// A small GIF89a encoder: Qt reads GIF but cannot write it, and the sample album and the tests
// need GIF pictures.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace leafsong {

// The frames as a GIF89a file, each shown for delayCs hundredths of a second; more than one frame
// loops forever. A frame with at most 256 colours keeps them exactly; a richer one is mapped onto a
// 6x7x6 colour cube with ordered dithering. Alpha is ignored. Empty when there is no frame or a
// frame is empty or larger than 65535 pixels either way.
QByteArray EncodeGif(const QList<QImage>& frames, int delayCs);

// Writes EncodeGif's result to path (atomically); false when there is nothing to write or the
// file cannot be written.
bool WriteGif(const QString& path, const QList<QImage>& frames, int delayCs);

}  // namespace leafsong
