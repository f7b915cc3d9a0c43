#include "pages/footer.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace leafsong {
namespace {

TEST(FooterTest, PlacementBands) {
    struct Row {
        double size, x, y;
    };
    // Limits belong to the lower band.
    const Row rows[] = {{0, 0, 0},          {40, 0, 0},         {41, 0, 11},
                        {60, 0, 30},        {61, 16, 31},       {100, 55, 70},
                        {150, 105, 100},    {151, 76, 101},     {400, 325, 350},
                        {401, 326, 331},    {600, 525, 530},    {601, 496, 531},
                        {800, 695, 730},    {801, 696, 711},    {1200, 1095, 1110},
                        {1201, 1066, 1071}, {1800, 1665, 1670}, {1801, 1606, 1671}};
    for (const Row& r : rows) {
        EXPECT_EQ(FooterX(r.size), r.x) << "width " << r.size;
        EXPECT_EQ(FooterY(r.size), r.y) << "height " << r.size;
    }
}

TEST(FooterTest, WorkedPlacements) {
    struct Row {
        double w, h, points, x, y;
    };
    const Row rows[] = {{1024, 768, 24, 919, 698},    {800, 600, 18, 695, 530},
                        {640, 480, 18, 535, 410},     {1920, 1080, 24, 1725, 990},
                        {3000, 2000, 24, 2805, 1870}, {900, 600, 18, 795, 530},
                        {901, 600, 24, 796, 530}};
    for (const Row& r : rows) {
        EXPECT_EQ(FooterPoints(r.w), r.points) << r.w;
        EXPECT_EQ(FooterX(r.w), r.x) << r.w;
        EXPECT_EQ(FooterY(r.h), r.y) << r.h;
    }
}

// Bounding box of clearly red pixels, in stored pixels.
QRect RedBox(const QImage& img) {
    QRect box;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            if (qRed(p) > 150 && qGreen(p) < 100 && qBlue(p) < 100) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

TEST(FooterTest, DrawsRedNumbersInThePicturesOwnPixels) {
    test::TempFolder dir;
    for (const QSize size : {QSize(640, 480), QSize(1024, 768), QSize(3000, 2000)}) {
        SCOPED_TRACE(size.width());
        PageBuffer pic;
        ASSERT_TRUE(pic.Load(
            dir.writePicture(QStringLiteral("p.bmp"), size.width(), size.height(), 0xffffff)));
        MarkFooter(true, pic, 0, 12);
        const QRect box = RedBox(pic.pixels());
        ASSERT_FALSE(box.isEmpty());
        // The text starts at its placement, mapped to the stored pixels.
        const double sx = double(pic.pixels().width()) / size.width();
        const double sy = double(pic.pixels().height()) / size.height();
        EXPECT_NEAR(box.left(), FooterX(size.width()) * sx, 4 * sx + 2);
        EXPECT_GE(box.top(), FooterY(size.height()) * sy - 1);
        EXPECT_LT(box.bottom(), (FooterY(size.height()) + 40) * sy + 1);
        EXPECT_TRUE(pic.text().FontBold);
        EXPECT_EQ(pic.text().FontSize, FooterPoints(size.width()));
    }
}

TEST(FooterTest, OffLeavesTheBufferExactlyAsItWas) {
    test::TempFolder dir;
    PageBuffer pic;
    ASSERT_TRUE(pic.Load(dir.writePicture(QStringLiteral("p.bmp"), 800, 600, 0xffffff)));
    MarkFooter(true, pic, 2, 5);
    const QImage withFooter = pic.pixels();
    const TextState text = pic.text();
    MarkFooter(false, pic, 7, 9);
    EXPECT_EQ(pic.pixels(), withFooter);
    EXPECT_EQ(pic.text().CurrentY, text.CurrentY);
}

TEST(FooterTest, ANewFooterReplacesTheOldOne) {
    test::TempFolder dir;
    const QString path = dir.writePicture(QStringLiteral("p.bmp"), 800, 600, 0xffffff);
    PageBuffer twice, once;
    ASSERT_TRUE(twice.Load(path));
    ASSERT_TRUE(once.Load(path));
    MarkFooter(true, twice, 87, 88);
    MarkFooter(true, twice, 0, 1);
    MarkFooter(true, once, 0, 1);
    EXPECT_EQ(twice.pixels(), once.pixels());
}

}  // namespace
}  // namespace leafsong
