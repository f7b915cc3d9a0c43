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

TEST(StretchBlt, Examples) {
    // For each destination column and row, the source column or row it takes; -1: kept.
    const struct {
        QSize src, dst;
        QRect dstRect;
        QRectF srcRect;
        std::vector<int> cols, rows;
    } cases[] = {
        {{4, 3}, {4, 3}, {0, 0, 4, 3}, {0, 0, 4, 3}, {0, 1, 2, 3}, {0, 1, 2}},     // identity
        {{2, 2}, {4, 4}, {0, 0, 4, 4}, {0, 0, 2, 2}, {0, 0, 1, 1}, {0, 0, 1, 1}},  // enlarge
        {{4, 4}, {2, 2}, {0, 0, 2, 2}, {0, 0, 4, 4}, {1, 3}, {1, 3}},              // shrink
        {{3, 3}, {5, 2}, {0, 0, 5, 2}, {0, 0, 3, 3}, {0, 0, 1, 2, 2}, {0, 2}},
        {{4, 4}, {3, 3}, {-2, -1, 4, 4}, {0, 0, 4, 4}, {2, 3, -1}, {1, 2, 3}},  // clipped
        {{3, 2}, {4, 2}, {0, 0, 4, 2}, {-1, 0, 4, 2}, {-1, 0, 1, 2}, {0, 1}},   // source
        {{2, 2}, {2, 3}, {0, 0, 2, 3}, {0, -1, 2, 3}, {0, 1}, {-1, 0, 1}},      // outside
        {{2, 1}, {5, 4}, {1, 2, 2, 1}, {0, 0, 2, 1}, {-1, 0, 1, -1, -1}, {-1, -1, 0, -1}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        QImage src(c.src, QImage::Format_RGB32);
        for (int y = 0; y < src.height(); ++y) {
            for (int x = 0; x < src.width(); ++x) {
                src.setPixel(x, y, SourcePixel(x, y));
            }
        }
        QImage dst(c.dst, QImage::Format_RGB32);
        dst.fill(kUntouched);
        StretchBlt(dst, c.dstRect, src, c.srcRect);
        for (int y = 0; y < dst.height(); ++y) {
            for (int x = 0; x < dst.width(); ++x) {
                const int sx = c.cols[size_t(x)];
                const int sy = c.rows[size_t(y)];
                EXPECT_EQ(dst.pixel(x, y), sx < 0 || sy < 0 ? kUntouched : SourcePixel(sx, sy))
                    << "case " << i << " at " << x << "," << y;
            }
        }
    }
}

}  // namespace
}  // namespace leafsong
