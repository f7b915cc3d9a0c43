#include "pages/footer.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace leafsong {
namespace {

TEST(FooterTest, PlacementBands) {
    // Size, x, y; limits belong to the lower band.
    const std::array<double, 3> rows[] = {
        {0, 0, 0},          {40, 0, 0},        {41, 0, 11},        {60, 0, 30},
        {61, 16, 31},       {100, 55, 70},     {150, 105, 100},    {151, 76, 101},
        {400, 325, 350},    {401, 326, 331},   {600, 525, 530},    {601, 496, 531},
        {800, 695, 730},    {801, 696, 711},   {1200, 1095, 1110}, {1201, 1066, 1071},
        {1800, 1665, 1670}, {1801, 1606, 1671}};
    for (const auto& [n, x, y] : rows) {
        EXPECT_EQ(std::pair(FooterX(n), FooterY(n)), std::pair(x, y)) << n;
    }
    // Width, height, points, x, y.
    const std::array<double, 5> worked[] = {
        {1024, 768, 24, 919, 698},   {800, 600, 18, 695, 530},     {640, 480, 18, 535, 410},
        {1920, 1080, 24, 1725, 990}, {3000, 2000, 24, 2805, 1870}, {900, 600, 18, 795, 530},
        {901, 600, 24, 796, 530}};
    for (const auto& [w, h, pt, x, y] : worked) {
        EXPECT_EQ(std::tuple(FooterPoints(w), FooterX(w), FooterY(h)), std::tuple(pt, x, y)) << w;
    }
}

TEST(FooterTest, DrawsRedNumbersAtTheirPlaceReplacingTheOldAndOffLeavesTheBufferExactly) {
    test::TempFolder dir;
    for (const QSize size : {QSize(640, 480), QSize(1024, 768), QSize(3000, 2000)}) {
        const QString path =
            dir.writePicture(QStringLiteral("p.bmp"), size.width(), size.height(), 0xffffff);
        PageBuffer pic, twice;
        ASSERT_TRUE(pic.Load(path) && twice.Load(path));
        MarkFooter(true, pic, 0, 12);
        const QImage& img = pic.pixels();
        QRect red;  // in stored pixels
        for (int i = 0; i < img.width() * img.height(); ++i) {
            const QPoint p(i % img.width(), i / img.width());
            if ((img.pixel(p) & 0x808080) == 0x800000) {
                red |= QRect(p, p);
            }
        }
        const double sx = double(img.width()) / size.width(),
                     sy = double(img.height()) / size.height();
        ASSERT_FALSE(red.isEmpty()) << size.width();
        EXPECT_NEAR(red.left(), FooterX(size.width()) * sx, 4 * sx + 2);
        EXPECT_GE(red.top(), FooterY(size.height()) * sy - 1);
        EXPECT_LT(red.bottom(), (FooterY(size.height()) + 40) * sy + 1);
        EXPECT_TRUE(pic.text().FontBold);
        EXPECT_EQ(pic.text().FontSize, FooterPoints(size.width()));
        MarkFooter(true, twice, 87, 88);
        MarkFooter(true, twice, 0, 12);
        EXPECT_EQ(twice.pixels(), img);
        const double y = pic.text().CurrentY;
        MarkFooter(false, pic, 7, 9);
        EXPECT_EQ(pic.pixels(), twice.pixels());
        EXPECT_EQ(pic.text().CurrentY, y);
    }
}

}  // namespace
}  // namespace leafsong
