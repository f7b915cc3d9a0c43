// Picture headers as the decoders see them, and what decoding would cost, from crafted bytes.
#include "platform/picture_header.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

namespace leafsong {
namespace {

QByteArray Hex(const char* hex) {
    return QByteArray::fromHex(hex);
}

// A JPEG up to its first scan: frame marker, size, each component's sampling, components scanned.
QByteArray Jpeg(int sof, int height, int width, const QList<int>& sampling, int scanned) {
    QByteArray b = Hex("ffd8ffe000104a46494600010100000100010000");
    const auto u16 = [&b](int v) { b += char(v >> 8), b += char(v & 255); };
    const int n = int(sampling.size());
    b += char(0xff), b += char(sof), u16(8 + 3 * n), b += char(8), u16(height), u16(width);
    b += char(n);
    for (int i = 0; i < n; ++i) {
        b += char(i + 1), b += char(sampling[i]), b += char(0);
    }
    b += char(0xff), b += char(0xda), u16(6 + 2 * scanned), b += char(scanned);
    return b;
}

constexpr QSize kPage(750, 500);

TEST(PictureHeaderTest, SizesAreTheDecodersAndCostsDecideBeforeDecoding) {
    struct Row {
        const char* what;
        QByteArray bytes;
        PictureFormat format;
        QSize size;
        bool fits;  // within 256 MB at book resolution
    };
    using F = PictureFormat;
    const QByteArray huge = Jpeg(0xc0, 65500, 65500, {0x11}, 1);
    // clang-format off
    const Row rows[] = {
        {"baseline 6000x4000", Jpeg(0xc0, 4000, 6000, {0x22, 0x11, 0x11}, 3), F::Jpeg, {6000, 4000}, true},
        {"progressive 30000 square", Jpeg(0xc2, 30000, 30000, {0x11, 0x11, 0x11}, 1), F::Jpeg, {30000, 30000}, false},
        {"progressive 4000x3000", Jpeg(0xc2, 3000, 4000, {0x22, 0x11, 0x11}, 1), F::Jpeg, {4000, 3000}, true},
        {"first scan of one of three, 8000 square", Jpeg(0xc0, 8000, 8000, {0x11, 0x11, 0x11}, 1), F::Jpeg, {8000, 8000}, false},
        {"65500 square: 1/8 of it is still 8188 square", huge, F::Jpeg, {65500, 65500}, false},
        {"lossless JPEG", Jpeg(0xc3, 100, 100, {0x11}, 1), F::Unknown, {}, false},
        {"frame header cut short", huge.left(24), F::Unknown, {}, false},
        {"GIF: the logical screen, not its 1x1 frame", "GIF89a" + Hex("0020002080000000000000ffffff2c0000000001000100000202440100"), F::Gif, {8192, 8192}, false},
        {"BMP stored top down", Hex("424d000000000000000036000000280000002c01000038ffffff01001800"), F::Bmp, {300, 200}, true},
        {"RLE8 BMP of 1 KB claiming 20000 square", Hex("424d00040000000000003604000028000000204e0000204e0000010008000100"), F::Bmp, {20000, 20000}, false},
        {"50-megapixel BMP", Hex("424d0000000000000000360000002800000024210000e616000001002000"), F::Bmp, {8484, 5862}, true},
        {"PNG", Hex("89504e470d0a1a0a0000000d49484452000003e8000002ee0806000000"), F::Png, {1000, 750}, true},
        {"WebP lossy", Hex("52494646000000005745425056503820000000000000009d012a58024001"), F::Webp, {600, 320}, true},
        {"WebP animated", Hex("524946460000000057454250565038580000000002000000ff1f00ff0f00"), F::Webp, {8192, 4096}, false},
        {"TIFF", Hex("49492a000800000002000001030001000000d007000001010300010000007017000000"), F::Tiff, {2000, 6000}, true},
        {"text named .jpg", QByteArray("not a picture"), F::Unknown, {}, false},
    };
    // clang-format on
    for (const Row& r : rows) {
        const PictureHeader h = ReadPictureHeader(r.bytes);
        EXPECT_EQ(std::pair(h.format, h.size), std::pair(r.format, r.size)) << r.what;
        if (h.format != PictureFormat::Unknown) {
            EXPECT_EQ(DecodeCost(h, kPage) <= qint64(256) << 20, r.fits) << r.what;
        }
    }
}

TEST(PictureHeaderTest, AgreesWithPicturesQtWrites) {
    QImage image(640, 400, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    for (const char* format : {"jpeg", "png", "bmp", "webp", "tiff"}) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, format);
        writer.setProgressiveScanWrite(true);
        ASSERT_TRUE(writer.write(image)) << format;
        const PictureHeader h = ReadPictureHeader(buffer.data());
        EXPECT_EQ(std::pair(DecoderName(h.format), h.size),
                  std::pair(QByteArray(format), image.size()));
    }
}

}  // namespace
}  // namespace leafsong
