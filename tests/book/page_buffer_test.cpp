#include "pages/page_buffer.h"

#include <gtest/gtest.h>

#include <QtEndian>

#include "support/temp_folder.h"

namespace leafsong {
namespace {

class PageBufferTest : public ::testing::Test {
protected:
    test::TempFolder dir;
    PageBuffer pic;
};

TEST_F(PageBufferTest, StoresLargePicturesAtBookResolution) {
    const std::pair<QSize, QSize> rows[] = {{{640, 480}, {640, 480}},   {{750, 500}, {750, 500}},
                                            {{6000, 4000}, {750, 500}}, {{1000, 1500}, {750, 500}},
                                            {{20000, 10}, {750, 10}},   {{1, 1}, {1, 1}}};
    for (const auto& [size, stored] : rows) {
        ASSERT_TRUE(pic.Load(
            dir.writePicture(QStringLiteral("p.jpg"), size.width(), size.height(), 0xff0000)));
        EXPECT_EQ(pic.logicalSize(), size);
        EXPECT_EQ(pic.pixels().size(), stored) << size.width();
        EXPECT_GT(qRed(pic.pixels().pixel(stored.width() / 2, stored.height() / 2)), 200);
    }
}

TEST_F(PageBufferTest, UnreadableFilesLeaveTheBufferAsItWas) {
    ASSERT_TRUE(pic.Load(dir.writePicture(QStringLiteral("good.jpg"), 320, 200)));
    const QImage before = pic.pixels();
    // A BMP whose header claims 30000 x 30000.
    QByteArray huge = test::TempFolder::ReadFile(dir.writePicture(QStringLiteral("s.bmp"), 64, 64));
    qToLittleEndian<qint32>(30000, huge.data() + 18);
    qToLittleEndian<qint32>(30000, huge.data() + 22);
    const std::pair<const char*, QByteArray> bad[] = {{"empty.jpg", {}},
                                                      {"text.jpg", "this is not a picture\n"},
                                                      {"huge.bmp", huge},
                                                      {"garbage.gif", QByteArray(5000, '\x01')}};
    for (const auto& [name, bytes] : bad) {
        EXPECT_FALSE(pic.Load(dir.write(QString::fromLatin1(name), bytes))) << name;
        EXPECT_EQ(pic.logicalSize(), QSize(320, 200)) << name;
        EXPECT_EQ(pic.pixels(), before) << name;
    }
    EXPECT_FALSE(pic.Load(dir.path(QStringLiteral("missing.jpg"))));
}

TEST_F(PageBufferTest, ATruncatedJpegIsReadable) {
    QImage noisy(1200, 800, QImage::Format_RGB32);
    for (int i = 0; i < 1200 * 800; ++i) {
        noisy.setPixel(i % 1200, i / 1200, qRgb(i * 7, i / 9, i));
    }
    ASSERT_TRUE(noisy.save(dir.path(QStringLiteral("whole.jpg")), "JPEG", 90));
    const QByteArray bytes = dir.read(QStringLiteral("whole.jpg"));
    EXPECT_TRUE(pic.Load(dir.write(QStringLiteral("cut.jpg"), bytes.left(bytes.size() / 3))));
    EXPECT_EQ(pic.logicalSize(), QSize(1200, 800));
}

TEST_F(PageBufferTest, FiftyMegapixelBmpStillLoads) {
    // 8660 x 5774 at 32 bits is over Qt's default reader limit of 128 MB.
    ASSERT_TRUE(pic.Load(dir.writePicture(QStringLiteral("big.bmp"), 8660, 5774, 0x404040)));
    EXPECT_EQ(pic.logicalSize(), QSize(8660, 5774));
    EXPECT_EQ(pic.pixels().size(), kStoredLimit);
    EXPECT_EQ(pic.pixels().pixel(10, 10), qRgb(0x40, 0x40, 0x40));
}

QRect InkBox(const QImage& img) {
    QRect box;
    for (int i = 0; i < img.width() * img.height(); ++i) {
        const QPoint p(i % img.width(), i / img.width());
        if (qGray(img.pixel(p)) < 128) {
            box |= QRect(p, p);
        }
    }
    return box;
}

TEST_F(PageBufferTest, TextIsPlacedInThePicturesOwnPixels) {
    // The same text on a picture stored at full size and, four times as large, on one stored at a
    // quarter lands at the same place relative to the picture.
    QRect ink[2];
    for (const int scale : {1, 4}) {
        ASSERT_TRUE(pic.Load(
            dir.writePicture(QStringLiteral("p.bmp"), 750 * scale, 500 * scale, 0xffffff)));
        pic.text().FontSize = 18 * scale;
        pic.text().CurrentX = 300 * scale;
        pic.text().CurrentY = 200 * scale;
        pic.Print(QStringLiteral("1/12"));  // then on the next line, in the picture's pixels
        EXPECT_GT(pic.text().CurrentY, (200 + 18) * scale);
        ink[scale / 4] = InkBox(pic.pixels());
    }
    ASSERT_FALSE(ink[0].isEmpty());
    EXPECT_NEAR(ink[0].left(), ink[1].left(), 3);
    EXPECT_NEAR(ink[0].top(), ink[1].top(), 3);
    EXPECT_NEAR(ink[0].width(), ink[1].width(), 4);
}

}  // namespace
}  // namespace leafsong
