#include "platform/picture_header.h"

#include <QBuffer>
#include <QIODevice>
#include <QtEndian>
#include <algorithm>
#include <cmath>

namespace leafsong {

namespace {

quint32 Be16(const uchar* p) {
    return qFromBigEndian<quint16>(p);
}
quint32 Le16(const uchar* p) {
    return qFromLittleEndian<quint16>(p);
}

// Reads exactly n bytes at the device's position; false when the device ends first.
bool ReadExactly(QIODevice& device, uchar* out, qint64 n) {
    return device.read(reinterpret_cast<char*>(out), n) == n;
}

PictureHeader Sized(PictureFormat format, qint64 w, qint64 h, int bytesPerPixel = 4) {
    PictureHeader header;
    // Qt's images are limited to 2^31 bytes per line and int sizes; nothing this large decodes.
    if (w <= 0 || h <= 0 || w > 1'000'000 || h > 1'000'000) {
        return header;
    }
    header.format = format;
    header.size = QSize(int(w), int(h));
    header.bytesPerPixel = bytesPerPixel;
    return header;
}

// Walks the markers up to the first scan: the frame's size and components, and whether the first
// scan covers them all.
PictureHeader ReadJpeg(QIODevice& device) {
    struct Component {
        int h = 1, v = 1;
    };
    int width = 0, height = 0, count = 0;
    bool progressive = false;
    Component components[4];
    // Metadata before the frame is skipped by seeking; a file whose markers run on for ever is
    // refused rather than walked.
    for (int segment = 0; segment < 1000; ++segment) {
        uchar m[2];
        if (!ReadExactly(device, m, 2) || m[0] != 0xFF) {
            return {};
        }
        while (m[1] == 0xFF) {  // fill bytes
            if (!ReadExactly(device, m + 1, 1)) {
                return {};
            }
        }
        const uchar marker = m[1];
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            continue;  // standalone markers
        }
        if (marker == 0xD9) {
            return {};  // the image ended before any scan
        }
        uchar lengthBytes[2];
        if (!ReadExactly(device, lengthBytes, 2)) {
            return {};
        }
        const qint64 length = Be16(lengthBytes) - 2;
        if (length < 0) {
            return {};
        }
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            // Lossless and hierarchical frames are beyond this libjpeg.
            if (marker == 0xC3 || (marker >= 0xC5 && marker <= 0xC7) || marker >= 0xCB) {
                return {};
            }
            uchar sof[6 + 3 * 4];
            if (length < 6 || !ReadExactly(device, sof, 6)) {
                return {};
            }
            height = int(Be16(sof + 1));
            width = int(Be16(sof + 3));
            count = sof[5];
            if (sof[0] != 8 || height == 0 || (count != 1 && count != 3 && count != 4) ||
                length < 6 + (3 * count) || !ReadExactly(device, sof + 6, qint64(3) * count)) {
                return {};
            }
            for (int i = 0; i < count; ++i) {
                components[i] = {std::max(1, sof[7 + 3 * i] >> 4),
                                 std::max(1, sof[7 + 3 * i] & 15)};
            }
            progressive = marker == 0xC2 || marker == 0xCA;
            if (!device.seek(device.pos() + length - 6 - (qint64(3) * count))) {
                return {};
            }
            continue;
        }
        if (marker == 0xDA) {
            uchar scanComponents = 0;
            if (count == 0 || !ReadExactly(device, &scanComponents, 1)) {
                return {};
            }
            PictureHeader header = Sized(PictureFormat::Jpeg, width, height);
            if (header.format == PictureFormat::Unknown) {
                return header;
            }
            if (progressive || scanComponents < count) {
                int hMax = 1, vMax = 1;
                for (int i = 0; i < count; ++i) {
                    hMax = std::max(hMax, components[i].h);
                    vMax = std::max(vMax, components[i].v);
                }
                const qint64 mcuColumns = (width + 8 * hMax - 1) / (8 * hMax);
                const qint64 mcuRows = (height + 8 * vMax - 1) / (8 * vMax);
                for (int i = 0; i < count; ++i) {
                    // 64 coefficients of two bytes per 8 x 8 block.
                    header.decoderBytes +=
                        mcuColumns * components[i].h * mcuRows * components[i].v * 128;
                }
            }
            return header;
        }
        if (!device.seek(device.pos() + length)) {
            return {};
        }
    }
    return {};
}

PictureHeader ReadBmp(const uchar* p, qint64 n) {
    if (n < 26) {
        return {};
    }
    const quint32 infoSize = qFromLittleEndian<quint32>(p + 14);
    qint64 w = 0, h = 0;
    int bits = 0;
    if (infoSize == 12) {
        w = qint16(Le16(p + 18));
        h = qint16(Le16(p + 20));
        bits = int(Le16(p + 24));
    } else if (infoSize >= 40 && n >= 30) {
        w = qFromLittleEndian<qint32>(p + 18);
        h = qFromLittleEndian<qint32>(p + 22);
        bits = int(Le16(p + 28));
    } else {
        return {};
    }
    // A negative height is a picture stored top down.
    h = h < 0 ? -h : h;
    // Palette pictures are decoded to one byte a pixel, then converted to four for scaling.
    return Sized(PictureFormat::Bmp, w, h, bits <= 8 ? 5 : 4);
}

PictureHeader ReadPng(const uchar* p, qint64 n) {
    if (n < 26 || QByteArrayView(reinterpret_cast<const char*>(p + 12), 4) != "IHDR") {
        return {};
    }
    const qint64 w = qFromBigEndian<quint32>(p + 16);
    const qint64 h = qFromBigEndian<quint32>(p + 20);
    const int depth = p[24];
    return Sized(PictureFormat::Png, w, h, depth == 16 ? 8 : 5);
}

PictureHeader ReadWebp(const uchar* p, qint64 n) {
    if (n < 30) {
        return {};
    }
    const QByteArrayView chunk(reinterpret_cast<const char*>(p + 12), 4);
    auto le24 = [&](int at) {
        return qint64(p[at]) | qint64(p[at + 1]) << 8 | qint64(p[at + 2]) << 16;
    };
    if (chunk == "VP8X") {
        // An animation is composed on a canvas beside the frame being decoded.
        const bool animated = (p[20] & 0x02) != 0;
        return Sized(PictureFormat::Webp, le24(24) + 1, le24(27) + 1, animated ? 8 : 4);
    }
    if (chunk == "VP8 ") {
        if (p[23] != 0x9d || p[24] != 0x01 || p[25] != 0x2a) {
            return {};
        }
        return Sized(PictureFormat::Webp, Le16(p + 26) & 0x3fff, Le16(p + 28) & 0x3fff);
    }
    if (chunk == "VP8L") {
        if (p[20] != 0x2f) {
            return {};
        }
        const quint32 bits = qFromLittleEndian<quint32>(p + 21);
        return Sized(PictureFormat::Webp, (bits & 0x3fff) + 1, ((bits >> 14) & 0x3fff) + 1);
    }
    return {};
}

PictureHeader ReadTiff(QIODevice& device, bool bigEndian) {
    auto u16 = [&](const uchar* q) {
        return bigEndian ? qFromBigEndian<quint16>(q) : qFromLittleEndian<quint16>(q);
    };
    auto u32 = [&](const uchar* q) {
        return bigEndian ? qFromBigEndian<quint32>(q) : qFromLittleEndian<quint32>(q);
    };
    uchar offset[4];
    uchar countBytes[2];
    if (!device.seek(4) || !ReadExactly(device, offset, 4) || !device.seek(u32(offset)) ||
        !ReadExactly(device, countBytes, 2)) {
        return {};
    }
    qint64 w = 0, h = 0;
    int bitsPerSample = 8;
    const int entries = std::min<int>(u16(countBytes), 512);
    for (int i = 0; i < entries; ++i) {
        uchar e[12];
        if (!ReadExactly(device, e, 12)) {
            return {};
        }
        // SHORT (3) values sit in the first half of the value field, LONG (4) fill it.
        const quint32 value = u16(e + 2) == 3 ? u16(e + 8) : u32(e + 8);
        switch (u16(e)) {
            case 256:
                w = value;
                break;
            case 257:
                h = value;
                break;
            case 258:
                bitsPerSample = u32(e + 4) == 1 ? int(value) : bitsPerSample;
                break;
            default:
                break;
        }
    }
    // Decoded into four bytes a pixel (eight for 16-bit samples), then possibly converted.
    return Sized(PictureFormat::Tiff, w, h, bitsPerSample > 8 ? 16 : 8);
}

// Qt's JPEG reader lets libjpeg scale by M/8 so that the result is no smaller than asked, then
// scales the rest of the way itself.
QSize JpegIntermediate(QSize size, QSize target) {
    const double f =
        std::min(double(size.width()) / target.width(), double(size.height()) / target.height());
    const int m = std::clamp(int(std::ceil(8 / f)), 1, 8);
    return QSize(int((qint64(size.width()) * m + 7) / 8), int((qint64(size.height()) * m + 7) / 8));
}

}  // namespace

PictureHeader ReadPictureHeader(QIODevice& device) {
    uchar head[30] = {};
    if (!device.isReadable() || !device.seek(0)) {
        return {};
    }
    const qint64 n = device.read(reinterpret_cast<char*>(head), sizeof head);
    const QByteArrayView start(reinterpret_cast<const char*>(head), std::max<qint64>(n, 0));
    if (start.startsWith("\xFF\xD8")) {
        device.seek(2);
        return ReadJpeg(device);
    }
    if ((start.startsWith("GIF87a") || start.startsWith("GIF89a")) && n >= 10) {
        // The decoder draws each frame on a 32-bit image of the logical screen, and may keep part
        // of it to dispose a frame onto.
        return Sized(PictureFormat::Gif, Le16(head + 6), Le16(head + 8), 5);
    }
    if (start.startsWith("BM")) {
        return ReadBmp(head, n);
    }
    if (start.startsWith("\x89PNG\r\n\x1a\n")) {
        return ReadPng(head, n);
    }
    if (start.startsWith("RIFF") && n >= 16 && start.sliced(8, 4) == "WEBP") {
        return ReadWebp(head, n);
    }
    if (start.startsWith(QByteArrayView("II*\0", 4)) ||
        start.startsWith(QByteArrayView("MM\0*", 4))) {
        return ReadTiff(device, head[0] == 'M');
    }
    return {};
}

PictureHeader ReadPictureHeader(const QByteArray& bytes) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return ReadPictureHeader(buffer);
}

QByteArray DecoderName(PictureFormat format) {
    switch (format) {
        case PictureFormat::Jpeg:
            return "jpeg";
        case PictureFormat::Gif:
            return "gif";
        case PictureFormat::Bmp:
            return "bmp";
        case PictureFormat::Png:
            return "png";
        case PictureFormat::Webp:
            return "webp";
        case PictureFormat::Tiff:
            return "tiff";
        case PictureFormat::Unknown:
            break;
    }
    return {};
}

qint64 DecodeCost(const PictureHeader& header, QSize target) {
    if (header.format == PictureFormat::Unknown || target.isEmpty()) {
        return 0;
    }
    const qint64 finalImage = qint64(target.width()) * target.height() * 4;
    QSize full = header.size;
    int perPixel = header.bytesPerPixel;
    if (header.format == PictureFormat::Jpeg) {
        full = JpegIntermediate(header.size, target);
        perPixel = 4;
    }
    // A line of the full-size picture per component, for the decoder's row buffers.
    const qint64 rows = qint64(header.size.width()) * 4 * 16;
    return header.decoderBytes + qint64(full.width()) * full.height() * perPixel + finalImage +
           rows;
}

}  // namespace leafsong
