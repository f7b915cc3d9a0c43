#include "platform/blit.h"

#include <gtest/gtest.h>

#include <vector>

namespace leafsong {
namespace {

constexpr QRgb kUntouched = qRgb(1, 2, 3);

// Each source pixel tells where it came from.
QRgb SourcePixel(int x, int y) {
    return qRgb(10 * x + 5, 10 * y + 5, 200);
}

QImage Source(QSize size) {
    QImage img(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            img.setPixel(x, y, SourcePixel(x, y));
        }
    }
    return img;
}

struct BlitCase {
    const char* name;
    QSize srcSize;
    QSize dstSize;
    QRect dstRect;
    QRectF srcRect;
    // Source column for each destination column and source row for each destination row;
    // -1 where the destination keeps its pixel.
    std::vector<int> cols;
    std::vector<int> rows;
};

void PrintTo(const BlitCase& c, std::ostream* os) {
    *os << c.name;
}

class StretchBltExamples : public ::testing::TestWithParam<BlitCase> {};

TEST_P(StretchBltExamples, EveryDestinationPixel) {
    const BlitCase& c = GetParam();
    ASSERT_EQ(c.cols.size(), static_cast<size_t>(c.dstSize.width()));
    ASSERT_EQ(c.rows.size(), static_cast<size_t>(c.dstSize.height()));
    const QImage src = Source(c.srcSize);
    QImage dst(c.dstSize, QImage::Format_RGB32);
    dst.fill(kUntouched);
    StretchBlt(dst, c.dstRect, src, c.srcRect);
    for (int y = 0; y < c.dstSize.height(); ++y) {
        for (int x = 0; x < c.dstSize.width(); ++x) {
            const int sx = c.cols[static_cast<size_t>(x)];
            const int sy = c.rows[static_cast<size_t>(y)];
            const QRgb want = sx < 0 || sy < 0 ? kUntouched : SourcePixel(sx, sy);
            EXPECT_EQ(dst.pixel(x, y), want) << c.name << " at " << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Blit, StretchBltExamples,
    ::testing::Values(
        BlitCase{"identity", {4, 3}, {4, 3}, {0, 0, 4, 3}, {0, 0, 4, 3}, {0, 1, 2, 3}, {0, 1, 2}},
        BlitCase{"twice as large",
                 {2, 2},
                 {4, 4},
                 {0, 0, 4, 4},
                 {0, 0, 2, 2},
                 {0, 0, 1, 1},
                 {0, 0, 1, 1}},
        BlitCase{"half size", {4, 4}, {2, 2}, {0, 0, 2, 2}, {0, 0, 4, 4}, {1, 3}, {1, 3}},
        BlitCase{"3 to 5 and 3 to 2",
                 {3, 3},
                 {5, 2},
                 {0, 0, 5, 2},
                 {0, 0, 3, 3},
                 {0, 0, 1, 2, 2},
                 {0, 2}},
        BlitCase{"negative destination clipped",
                 {4, 4},
                 {3, 3},
                 {-2, -1, 4, 4},
                 {0, 0, 4, 4},
                 {2, 3, -1},
                 {1, 2, 3}},
        BlitCase{"past right and bottom clipped",
                 {4, 4},
                 {3, 3},
                 {1, 1, 4, 4},
                 {0, 0, 4, 4},
                 {-1, 0, 1},
                 {-1, 0, 1}},
        BlitCase{"source starts left of the picture",
                 {3, 2},
                 {4, 2},
                 {0, 0, 4, 2},
                 {-1, 0, 4, 2},
                 {-1, 0, 1, 2},
                 {0, 1}},
        BlitCase{"source ends right of the picture",
                 {3, 2},
                 {4, 2},
                 {0, 0, 4, 2},
                 {1, 0, 4, 2},
                 {1, 2, -1, -1},
                 {0, 1}},
        BlitCase{"source above the picture",
                 {2, 2},
                 {2, 3},
                 {0, 0, 2, 3},
                 {0, -1, 2, 3},
                 {0, 1},
                 {-1, 0, 1}},
        BlitCase{
            "fractional source", {3, 1}, {4, 1}, {0, 0, 4, 1}, {0.5, 0, 2, 1}, {0, 1, 1, 2}, {0}},
        BlitCase{"inside a larger destination",
                 {2, 1},
                 {5, 4},
                 {1, 2, 2, 1},
                 {0, 0, 2, 1},
                 {-1, 0, 1, -1, -1},
                 {-1, -1, 0, -1}},
        BlitCase{"empty rectangle", {2, 2}, {2, 2}, {0, 0, 0, 2}, {0, 0, 2, 2}, {-1, -1}, {-1, -1}},
        BlitCase{
            "far outside", {2, 2}, {2, 2}, {-1000000, 5, 3, 3}, {0, 0, 2, 2}, {-1, -1}, {-1, -1}}),
    [](const ::testing::TestParamInfo<BlitCase>& row) { return std::to_string(row.index); });

TEST(StretchBlt, CopiesWithoutBlendingAndLeavesSharedCopiesAlone) {
    QImage src(1, 1, QImage::Format_ARGB32_Premultiplied);
    src.fill(qRgba(0, 0, 0, 0));
    QImage dst(2, 1, QImage::Format_ARGB32_Premultiplied);
    dst.fill(qRgba(200, 100, 50, 255));
    const QImage before = dst;  // shares dst's pixels until dst is written
    StretchBlt(dst, QRect(0, 0, 1, 1), src, QRectF(0, 0, 1, 1));
    EXPECT_EQ(dst.pixel(0, 0), qRgba(0, 0, 0, 0));
    EXPECT_EQ(dst.pixel(1, 0), qRgba(200, 100, 50, 255));
    EXPECT_EQ(before.pixel(0, 0), qRgba(200, 100, 50, 255));
}

}  // namespace
}  // namespace leafsong
