#include "pages/page_buffer.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>

#include "support/temp_folder.h"

namespace leafsong {
namespace {

// A 24-bit BMP header for a picture of w x h whose pixel data follows (or is missing).
QByteArray BmpHeader(qint32 w, qint32 h) {
    QByteArray b(54, '\0');
    const quint32 rowBytes = (quint32(w) * 3 + 3) & ~3u;
    const quint32 dataSize = rowBytes * quint32(h);
    auto put32 = [&](int at, quint32 v) { qToLittleEndian(v, b.data() + at); };
    auto put16 = [&](int at, quint16 v) { qToLittleEndian(v, b.data() + at); };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, 54 + dataSize);
    put32(10, 54);
    put32(14, 40);
    put32(18, quint32(w));
    put32(22, quint32(h));
    put16(26, 1);
    put16(28, 24);
    put32(34, dataSize);
    return b;
}

QByteArray Jpeg(int w, int h, QColor colour, int quality = 80) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "JPEG", quality);
    return bytes;
}

TEST(PageBufferTest, StoresLargePicturesAtBookResolution) {
    test::TempFolder dir;
    struct Row {
        int w, h;
        QSize stored;
    };
    const Row rows[] = {{640, 480, {640, 480}},   {750, 500, {750, 500}}, {6000, 4000, {750, 500}},
                        {1000, 1500, {750, 500}}, {20000, 10, {750, 10}}, {1, 1, {1, 1}}};
    for (const Row& r : rows) {
        const QString path =
            dir.write(QStringLiteral("p%1x%2.jpg").arg(r.w).arg(r.h), Jpeg(r.w, r.h, Qt::red));
        PageBuffer pic;
        ASSERT_TRUE(pic.Load(path)) << r.w << "x" << r.h;
        EXPECT_EQ(pic.logicalSize(), QSize(r.w, r.h));
        EXPECT_EQ(pic.pixels().size(), r.stored);
        EXPECT_EQ(qRed(pic.pixels().pixel(r.stored.width() / 2, r.stored.height() / 2)) > 200,
                  true);
    }
}

TEST(PageBufferTest, UnreadableFilesLeaveTheBufferAsItWas) {
    test::TempFolder dir;
    PageBuffer pic;
    ASSERT_TRUE(pic.Load(dir.write(QStringLiteral("good.jpg"), Jpeg(320, 200, Qt::blue))));
    const QImage before = pic.pixels();

    QByteArray claimsHuge = BmpHeader(30000, 30000);
    claimsHuge.append(QByteArray(4096, '\x7f'));
    const struct {
        const char* name;
        QByteArray bytes;
    } bad[] = {
        {"empty.jpg", {}},
        {"text.jpg", "this is not a picture\n"},
        {"huge.bmp", claimsHuge},
        {"garbage.gif", QByteArray(5000, '\x01')},
    };
    for (const auto& b : bad) {
        EXPECT_FALSE(pic.Load(dir.write(QString::fromLatin1(b.name), b.bytes))) << b.name;
        EXPECT_EQ(pic.logicalSize(), QSize(320, 200)) << b.name;
        EXPECT_EQ(pic.pixels(), before) << b.name;
    }
    EXPECT_FALSE(pic.Load(dir.path(QStringLiteral("missing.jpg"))));
}

TEST(PageBufferTest, ATruncatedJpegIsReadable) {
    test::TempFolder dir;
    QImage noisy(1200, 800, QImage::Format_RGB32);
    for (int y = 0; y < noisy.height(); ++y) {
        for (int x = 0; x < noisy.width(); ++x) {
            noisy.setPixel(x, y, qRgb((x * 7) & 255, (y * 13) & 255, (x * y) & 255));
        }
    }
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    noisy.save(&buf, "JPEG", 90);
    PageBuffer pic;
    EXPECT_TRUE(pic.Load(dir.write(QStringLiteral("cut.jpg"), bytes.left(bytes.size() / 3))));
    EXPECT_EQ(pic.logicalSize(), QSize(1200, 800));
}

TEST(PageBufferTest, FiftyMegapixelBmpStillLoads) {
    // 8660 x 5774 at 32 bits is over Qt's default reader limit of 128 MB.
    test::TempFolder dir;
    const int w = 8660, h = 5774;
    QFile f(dir.path(QStringLiteral("big.bmp")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(BmpHeader(w, h));
    const QByteArray row(((w * 3 + 3) & ~3), '\x40');
    for (int y = 0; y < h; ++y) {
        f.write(row);
    }
    f.close();
    PageBuffer pic;
    ASSERT_TRUE(pic.Load(f.fileName()));
    EXPECT_EQ(pic.logicalSize(), QSize(w, h));
    EXPECT_EQ(pic.pixels().size(), kStoredLimit);
    EXPECT_EQ(pic.pixels().pixel(10, 10), qRgb(0x40, 0x40, 0x40));
}

TEST(PageBufferTest, TransparentPixelsShowThePageBackground) {
    test::TempFolder dir;
    QImage img(40, 20, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    // Qt writes no GIF; a PNG named .gif is still decoded by its content.
    ASSERT_TRUE(img.save(dir.path(QStringLiteral("t.gif")), "PNG"));
    PageBuffer pic;
    ASSERT_TRUE(pic.Load(dir.path(QStringLiteral("t.gif"))));
    EXPECT_EQ(pic.pixels().pixel(5, 5), qRgb(240, 240, 240));
}

TEST(PageBufferTest, TextIsPlacedInThePicturesOwnPixels) {
    // The same text on a picture stored at full size and on one stored at a quarter lands at the
    // same place relative to the picture.
    test::TempFolder dir;
    PageBuffer small, large;
    ASSERT_TRUE(small.Load(dir.write(QStringLiteral("s.jpg"), Jpeg(750, 500, Qt::white, 100))));
    ASSERT_TRUE(large.Load(dir.write(QStringLiteral("l.jpg"), Jpeg(3000, 2000, Qt::white, 100))));
    auto inkBox = [](const QImage& img) {
        QRect box;
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                if (qGray(img.pixel(x, y)) < 128) {
                    box |= QRect(x, y, 1, 1);
                }
            }
        }
        return box;
    };
    small.text().FontSize = 18;
    small.text().CurrentX = 300;
    small.text().CurrentY = 200;
    small.Print(QStringLiteral("1/12"));
    large.text().FontSize = 72;  // four times the size on a picture four times as large
    large.text().CurrentX = 1200;
    large.text().CurrentY = 800;
    large.Print(QStringLiteral("1/12"));
    const QRect a = inkBox(small.pixels());
    const QRect b = inkBox(large.pixels());
    ASSERT_FALSE(a.isEmpty());
    ASSERT_FALSE(b.isEmpty());
    EXPECT_NEAR(a.left(), b.left(), 3);
    EXPECT_NEAR(a.top(), b.top(), 3);
    EXPECT_NEAR(a.width(), b.width(), 4);
    // Print moved to the next line in the picture's pixels.
    EXPECT_EQ(small.text().CurrentX, 0);
    EXPECT_GT(large.text().CurrentY, 800 + 72);

    small.ClearText();
    EXPECT_TRUE(inkBox(small.pixels()).isEmpty());
    EXPECT_EQ(small.text().CurrentY, 0);
}

}  // namespace
}  // namespace leafsong
