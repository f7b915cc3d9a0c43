// Drawing on pixel buffers (translucent overlays, scaled copies) and the see-through key colour:
// the order in which a frame reaches a shaped window, and overlays drawn next to it.
#include <gtest/gtest.h>

#include <QPainter>
#include <QString>
#include <array>
#include <string>
#include <vector>

#include "platform/blit.h"
#include "platform/png_overlay.h"
#include "platform/surface.h"
#include "platform/window_shape.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

// A frame drawn in letters: '.' is the key colour, every letter an opaque colour of its own.
QImage Frame(const std::vector<std::string>& rows) {
    QImage img(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()),
               QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const char c = rows[size_t(y)][size_t(x)];
            img.setPixel(x, y, c == '.' ? kKeyColour : qRgb(c, 100, 100));
        }
    }
    return img;
}

template <typename F>
void EachPixel(const QRegion& region, F f) {
    for (const QRect& r : region) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                f(x, y);
            }
        }
    }
}

// Loads picture into overlay as the album does, from a PNG file.
bool Load(PngOverlay& overlay, const QImage& picture) {
    const test::TempFolder tmp;
    const QString file = tmp.path(QStringLiteral("o.png"));
    return picture.save(file) && overlay.Load(file);
}

// How a pixel looks: '~' the desktop, '.' the key colour, else the letter.
char Look(QRgb pixel, bool keyShowsThrough) {
    return pixel == 0 || (keyShowsThrough && pixel == kKeyColour) ? '~'
           : pixel == kKeyColour                                  ? '.'
                                                                  : static_cast<char>(qRed(pixel));
}

TEST(PresentOrderTest, EveryStateBetweenTwoFramesShowsOneOfThemAndNoKeyColour) {
    const std::pair<std::vector<std::string>, std::vector<std::string>> rows[] = {
        {{"........", "..aa....", "..aa...."}, {"...bb...", "...bb...", "........"}},
        {{"..a.....", "..a....."}, {"..bbbb..", "..b....."}},
        {{"aaaaaa", "aaaaaa"}, {"..bb..", "......"}},
        {{".aaa.", ".aaa."}, {".bbb.", ".bcb."}},
        {{"aa....", "aa...."}, {"....bb", "....bb"}},
        {{"......", "......"}, {"abcdef", "......"}},
        {{"abcdef", "......"}, {"......", "......"}},
    };
    for (const auto& [rowsBefore, rowsAfter] : rows) {
        const QImage before = Frame(rowsBefore), after = Frame(rowsAfter);
        QRect differs;
        EachPixel(before.rect(), [&](int x, int y) {
            differs |= before.pixel(x, y) != after.pixel(x, y) ? QRect(x, y, 1, 1) : QRect();
        });
        // The whole frame redrawn, and only the box where the frames differ; a compositing
        // server retains a window's pixels outside its shape, a plain one forgets them.
        for (const QRect& changed : {after.rect(), differs}) {
            for (const bool retained : {false, true}) {
                SCOPED_TRACE(rowsBefore[0] + " to " + rowsAfter[0] + (retained ? " kept" : ""));
                WindowShape plan;
                QImage window = before.convertToFormat(QImage::Format_ARGB32);  // 0: not kept
                QRegion shape;
                const auto forget = [&](int x, int y) { window.setPixel(x, y, 0); };
                for (const PresentStep& step : plan.Update(before, before.rect())) {
                    shape += step.kind == PresentStep::Kind::Grow ? step.region : QRegion();
                }
                if (!retained) {
                    EachPixel(QRegion(before.rect()).subtracted(shape), forget);
                }
                int state = 0;
                for (const PresentStep& step : plan.Update(after, changed)) {
                    const QRegion entering = step.region.subtracted(shape);
                    if (step.kind == PresentStep::Kind::Paint) {
                        EachPixel(step.region, [&](int x, int y) {
                            const bool kept = retained || shape.contains(QPoint(x, y));
                            window.setPixel(x, y, kept ? after.pixel(x, y) : 0);
                        });
                    } else if (step.kind == PresentStep::Kind::Grow) {
                        shape += step.region;
                    } else {
                        shape -= step.region;
                    }
                    if (!retained && step.kind != PresentStep::Kind::Paint) {
                        EachPixel(step.kind == PresentStep::Kind::Grow ? entering : step.region,
                                  forget);
                    }
                    ++state;
                    // Each pixel shows one of the frames, and the old frame loses nothing until
                    // the new one is whole: the leaf is never seen cut.
                    bool oldWhole = true, newWhole = true;
                    EachPixel(before.rect(), [&](int x, int y) {
                        const char shown =
                            Look(shape.contains(QPoint(x, y)) ? window.pixel(x, y) : 0, false);
                        const char was = Look(before.pixel(x, y), true),
                                   is = Look(after.pixel(x, y), true);
                        EXPECT_TRUE(shown == was || shown == is)
                            << "after step " << state << " at " << x << "," << y << ": " << shown;
                        oldWhole = oldWhole && (was == '~' || shown != '~');
                        newWhole = newWhole && shown == is;
                    });
                    EXPECT_TRUE(oldWhole || newWhole) << "after step " << state;
                }
                EachPixel(before.rect(), [&](int x, int y) {
                    EXPECT_EQ(shape.contains(QPoint(x, y)) ? Look(window.pixel(x, y), false) : '~',
                              Look(after.pixel(x, y), true))
                        << x << "," << y;
                });
            }
        }
    }
}

TEST(OpaqueRegionTest, HoldsExactlyThePixelsOfAnAreaThatAreNotTheKeyColour) {
    // Blobs and speckles: runs that start, end, split and repeat over rows.
    QImage img(61, 47, QImage::Format_RGB32);
    quint32 seed = 7;
    EachPixel(img.rect(), [&](int x, int y) {
        seed = seed * 1103515245U + 12345U;
        const bool blob = (x / 9 + y / 6) % 3 == 0;
        img.setPixel(x, y, blob != ((seed >> 16) % 11 == 0) ? qRgb(x, y, 9) : kKeyColour);
    });
    for (const QRect& area : {img.rect(), QRect(5, 3, 40, 30), QRect(-4, 40, 90, 20)}) {
        QRegion expected;
        EachPixel(area & img.rect(), [&](int x, int y) {
            expected += img.pixel(x, y) != kKeyColour ? QRect(x, y, 1, 1) : QRect();
        });
        EXPECT_EQ(OpaqueRegion(img, area), expected);
    }
}

TEST(PngOverlayTest, NeverBlendsWithTheKeyColourNorMakesIt) {
    const QRgb key = kKeyColour;
    // Overlay pixel (straight alpha), the pixel beneath, what is drawn.
    const struct {
        QRgb overlay, beneath, drawn;
    } rows[] = {
        {qRgba(255, 0, 0, 128), key, qRgb(255, 0, 0)},  // half covers: opaque, its own colour
        {qRgba(255, 0, 0, 127), key, key},              // less: left see-through
        {qRgba(90, 90, 90, 255), key, qRgb(90, 90, 90)},
        {qRgba(0, 0, 0, 0), key, key},
        {qRgba(255, 0, 0, 128), qRgb(0, 0, 0), qRgb(128, 0, 0)},  // over content: a blend
        {qRgba(0, 0, 0, 128), qRgb(14, 14, 78), qRgb(7, 7, 40)},  // which missed the key colour
        {qRgba(7, 7, 39, 255), qRgb(200, 200, 200), qRgb(7, 7, 40)},
        {qRgba(7, 7, 39, 255), key, qRgb(7, 7, 40)},
        {qRgba(0, 0, 0, 0), qRgb(9, 9, 9), qRgb(9, 9, 9)},
    };
    int n = static_cast<int>(std::size(rows)), h = 1;
    QImage picture(n, 1, QImage::Format_ARGB32), target(n, 1, QImage::Format_RGB32);
    for (int i = 0; i < n; ++i) {
        picture.setPixel(i, 0, rows[i].overlay);
        target.setPixel(i, 0, rows[i].beneath);
    }
    PngOverlay overlay;
    ASSERT_TRUE(Load(overlay, picture));
    // Over a row of the key colour, the one copy a row draws as StretchDC does; the pixels to
    // skip keep what they held.
    QImage overKey(n + 2, 2, QImage::Format_RGB32);
    overKey.fill(qRgb(1, 2, 3));
    ASSERT_TRUE(overlay.DrawOverKey(overKey, QRect(1, 0, n, 2), QRect(3, 1, 2, 1)));
    overlay.StretchDC(target, 0, 0, n, h);
    for (int i = 0; i < static_cast<int>(std::size(rows)); ++i) {
        EXPECT_EQ(target.pixel(i, 0), rows[i].drawn) << "row " << i;
        if (rows[i].beneath == key) {
            EXPECT_EQ(overKey.pixel(i + 1, 0), rows[i].drawn) << "row " << i;
        }
        EXPECT_EQ(overKey.pixel(i + 1, 1),
                  i == 2 || i == 3 ? qRgb(1, 2, 3) : overKey.pixel(i + 1, 0))
            << "row " << i;
    }
    EXPECT_EQ(std::pair(overKey.pixel(0, 0), overKey.pixel(n + 1, 1)),
              std::pair(qRgb(1, 2, 3), qRgb(1, 2, 3)));
}

TEST(PngOverlayTest, AspectRuleAndBlending) {
    // Picture size, W and h asked, W and h used (halves to even).
    const std::array<int, 6> rows[] = {{90, 60, 0, 6, 9, 6}, {90, 60, 0, 300, 450, 300},
                                       {90, 60, 6, 0, 6, 4}, {90, 60, 5, 7, 5, 7},
                                       {90, 60, 0, 0, 0, 0}, {1, 700, 0, 1, 0, 1},
                                       {5, 2, 0, 1, 2, 1},   {5, 2, 0, 3, 8, 3}};
    for (const auto& [pw, ph, askW, askH, wantW, wantH] : rows) {
        QImage picture(pw, ph, QImage::Format_ARGB32), out(12, 10, QImage::Format_RGB32),
            want = out.copy();
        picture.fill(qRgba(255, 0, 0, 128));  // half see-through red over black
        PngOverlay overlay;
        ASSERT_TRUE(Load(overlay, picture));
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
