#pragma once
// What a picture file says about itself, read before anything is decoded, and the memory its
// decoding would take. Headers lie: the sizes here are the ones the decoders allocate for (a GIF's
// logical screen, not its first frame; a top-down BMP's height as a positive number), so a crafted
// file is judged by what decoding it would cost, not by what Qt's reader reports.

#include <QByteArray>
#include <QSize>
#include <QtGlobal>

class QIODevice;

namespace leafsong {

enum class PictureFormat { Unknown, Jpeg, Gif, Bmp, Png, Webp, Tiff };

struct PictureHeader {
    PictureFormat format = PictureFormat::Unknown;
    QSize size;  // as stored, before any orientation tag is applied
    // Bytes the decoder keeps besides the images: for a JPEG that libjpeg decodes through a
    // whole-image coefficient buffer (progressive, or a first scan with fewer components than the
    // frame), that buffer, at full size whatever the output's scale.
    qint64 decoderBytes = 0;
    // Bytes per pixel of the full-size image a decoder that cannot scale produces, conversions
    // included.
    int bytesPerPixel = 4;
};

// Reads the header from the start of a seekable device (a file). Format Unknown when it is not a
// picture of a known format, is cut short before its size, or states a size of zero, a negative
// width, or one the decoders refuse (a JPEG that is lossless, hierarchical or has 2 or more than 4
// components).
PictureHeader ReadPictureHeader(QIODevice& device);
PictureHeader ReadPictureHeader(const QByteArray& bytes);

// The decoder's name for QImageReader::setFormat ("jpeg", "gif", ...), empty for Unknown.
QByteArray DecoderName(PictureFormat format);

// The most memory, in bytes, that decoding the picture into an image of size target takes: the
// decoder's own buffers, the full-size image of decoders that cannot scale while decoding (the
// scaled-down intermediate of those that can), and the final image.
qint64 DecodeCost(const PictureHeader& header, QSize target);

}  // namespace leafsong
