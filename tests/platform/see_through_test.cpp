// The see-through key colour: the order in which a frame reaches a shaped window, and overlays
// drawn next to it.
#include <gtest/gtest.h>

#include <QString>
#include <string>
#include <vector>

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

// What the screen shows at p: the window's pixel inside its shape, else the desktop ('~').
struct Screen {
    QImage pixels;  // the window's content, 0 where nothing is kept
    QRegion shape;
    bool retained = false;  // a compositing server keeps a window's pixels outside its shape

    char At(QPoint p) const {
        if (!shape.contains(p) || pixels.pixel(p) == 0) {
            return '~';
        }
        const QRgb c = pixels.pixel(p);
        return c == kKeyColour ? '.' : static_cast<char>(qRed(c));
    }
    void Forget(const QRegion& region) {
        for (const QRect& r : region) {
            for (int y = r.top(); y <= r.bottom(); ++y) {
                for (int x = r.left(); x <= r.right(); ++x) {
                    pixels.setPixel(x, y, 0);  // not kept: the desktop shows through
                }
            }
        }
    }
};

char Appearance(const QImage& frame, QPoint p) {
    return frame.pixel(p) == kKeyColour ? '~' : static_cast<char>(qRed(frame.pixel(p)));
}

TEST(PresentOrderTest, EveryStateBetweenTwoFramesShowsOneOfThemAndNoKeyColour) {
    const struct {
        std::vector<std::string> before, after;
        const char* kinds;  // the steps with the whole frame changed: Paint, Grow, Shrink
    } rows[] = {
        {{"........", "..aa....", "..aa...."}, {"...bb...", "...bb...", "........"}, "PGPSP"},
        {{"..a.....", "..a....."}, {"..bbbb..", "..b....."}, "PGP"},
        {{"aaaaaa", "aaaaaa"}, {"..bb..", "......"}, "PSP"},
        {{".aaa.", ".aaa."}, {".bbb.", ".bcb."}, "P"},
        {{"aa....", "aa...."}, {"....bb", "....bb"}, "PGPSP"},
        {{"......", "......"}, {"abcdef", "......"}, "PGP"},
        {{"abcdef", "......"}, {"......", "......"}, "SP"},
    };
    for (const auto& row : rows) {
        const QImage before = Frame(row.before), after = Frame(row.after);
        // The whole frame redrawn, and only the box where the frames differ.
        QRect differs;
        for (int y = 0; y < before.height(); ++y) {
            for (int x = 0; x < before.width(); ++x) {
                differs |= before.pixel(x, y) != after.pixel(x, y) ? QRect(x, y, 1, 1) : QRect();
            }
        }
        for (const QRect& changed : {after.rect(), differs}) {
            for (const bool retained : {false, true}) {
                SCOPED_TRACE(row.before[0] + " to " + row.after[0] + (retained ? " kept" : ""));
                WindowShape shape;
                Screen screen{before.convertToFormat(QImage::Format_ARGB32), {}, retained};
                for (const PresentStep& step : shape.Update(before, before.rect())) {
                    screen.shape += step.kind == PresentStep::Kind::Grow ? step.region : QRegion();
                }
                if (!retained) {
                    screen.Forget(QRegion(before.rect()).subtracted(screen.shape));
                }

                std::string kinds;
                int state = 0;
                for (const PresentStep& step : shape.Update(after, changed)) {
                    kinds += "PGS"[static_cast<int>(step.kind)];
                    const QRegion entering = step.region.subtracted(screen.shape);
                    switch (step.kind) {
                        case PresentStep::Kind::Paint:
                            for (const QRect& r : step.region) {
                                for (int y = r.top(); y <= r.bottom(); ++y) {
                                    for (int x = r.left(); x <= r.right(); ++x) {
                                        const bool kept = retained || screen.shape.contains({x, y});
                                        screen.pixels.setPixel(x, y, kept ? after.pixel(x, y) : 0);
                                    }
                                }
                            }
                            break;
                        case PresentStep::Kind::Grow:
                            screen.shape += step.region;
                            if (!retained) {
                                screen.Forget(entering);
                            }
                            break;
                        case PresentStep::Kind::Shrink:
                            screen.shape -= step.region;
                            if (!retained) {
                                screen.Forget(step.region);
                            }
                            break;
                    }
                    ++state;
                    // Each pixel shows one of the frames, and the old frame loses nothing until
                    // the new one is whole: the leaf is never seen cut.
                    bool oldWhole = true, newWhole = true;
                    for (int y = 0; y < before.height(); ++y) {
                        for (int x = 0; x < before.width(); ++x) {
                            const char shown = screen.At({x, y});
                            const char was = Appearance(before, {x, y}),
                                       is = Appearance(after, {x, y});
                            EXPECT_TRUE(shown == was || shown == is)
                                << "after step " << state << " at " << x << "," << y << ": "
                                << shown;
                            oldWhole = oldWhole && (was == '~' || shown != '~');
                            newWhole = newWhole && shown == is;
                        }
                    }
                    EXPECT_TRUE(oldWhole || newWhole) << "after step " << state;
                }
                for (int y = 0; y < before.height(); ++y) {
                    for (int x = 0; x < before.width(); ++x) {
                        EXPECT_EQ(screen.At({x, y}), Appearance(after, {x, y})) << x << "," << y;
                    }
                }
                if (changed == after.rect()) {
                    EXPECT_EQ(kinds, row.kinds);
                }
            }
        }
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
    const int n = static_cast<int>(std::size(rows));
    QImage picture(n, 1, QImage::Format_ARGB32), target(n, 1, QImage::Format_RGB32);
    for (int i = 0; i < n; ++i) {
        picture.setPixel(i, 0, rows[i].overlay);
        target.setPixel(i, 0, rows[i].beneath);
    }
    const test::TempFolder tmp;
    PngOverlay overlay;
    ASSERT_TRUE(picture.save(tmp.path(QStringLiteral("o.png"))) &&
                overlay.Load(tmp.path(QStringLiteral("o.png"))));
    int W = n, h = 1;
    overlay.StretchDC(target, 0, 0, W, h);
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(target.pixel(i, 0), rows[i].drawn) << "row " << i;
    }
}

}  // namespace
}  // namespace leafsong
