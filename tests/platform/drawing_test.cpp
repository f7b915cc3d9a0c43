// Drawing on pixel buffers: translucent overlays and scaled copies.
#include <gtest/gtest.h>

#include <QPainter>
#include <array>
#include <vector>

#include "platform/blit.h"
#include "platform/png_overlay.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

TEST(PngOverlayTest, AspectRuleAndBlending) {
    // Picture size, W and h asked, W and h used (halves to even).
    const std::array<int, 6> rows[] = {{90, 60, 0, 6, 9, 6}, {90, 60, 0, 300, 450, 300},
                                       {90, 60, 6, 0, 6, 4}, {90, 60, 5, 7, 5, 7},
                                       {90, 60, 0, 0, 0, 0}, {1, 700, 0, 1, 0, 1},
                                       {5, 2, 0, 1, 2, 1},   {5, 2, 0, 3, 8, 3}};
    const test::TempFolder tmp;
    for (const auto& [pw, ph, askW, askH, wantW, wantH] : rows) {
        QImage picture(pw, ph, QImage::Format_ARGB32), out(12, 10, QImage::Format_RGB32),
            want = out.copy();
        picture.fill(qRgba(255, 0, 0, 128));  // half see-through red over black
        PngOverlay overlay;
        ASSERT_TRUE(picture.save(tmp.path(QStringLiteral("p.png"))) &&
                    overlay.Load(tmp.path(QStringLiteral("p.png"))));
        out.fill(Qt::black), want.fill(Qt::black);
        QPainter(&want).fillRect(1, 2, wantW, wantH, QColor(128, 0, 0));
        int W = askW, h = askH;
        overlay.StretchDC(out, 1, 2, W, h);
        EXPECT_TRUE(out == want && W == wantW && h == wantH)
            << askW << "x" << askH << " gave " << W << "x" << h;
    }
}

TEST(StretchBltTest, Examples) {
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
    for (const auto& c : cases) {
        QImage src(c.src, QImage::Format_RGB32), dst(c.dst, QImage::Format_RGB32);
        for (int i = 0; i < src.width() * src.height(); ++i) {
            src.setPixel(i % src.width(), i / src.width(),
                         qRgb(i % src.width(), i / src.width(), 9));
        }
        dst.fill(Qt::black);
        StretchBlt(dst, c.dstRect, src, c.srcRect);
        for (int i = 0; i < dst.width() * dst.height(); ++i) {
            const int x = i % dst.width(), y = i / dst.width(), sx = c.cols[size_t(x)],
                      sy = c.rows[size_t(y)];
            EXPECT_EQ(dst.pixel(x, y), sx < 0 || sy < 0 ? qRgb(0, 0, 0) : qRgb(sx, sy, 9))
                << "case " << &c - cases << " at " << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace leafsong
