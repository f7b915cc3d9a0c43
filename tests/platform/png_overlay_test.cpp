#include "platform/png_overlay.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace leafsong {
namespace {

constexpr QRgb kBlack = 0xff000000;

QImage Filled(QSize size, QRgb argb) {
    QImage img(size, QImage::Format_ARGB32);
    img.fill(argb);
    return img;
}

struct Fixture {
    test::TempFolder tmp;
    PngOverlay overlay;
    QImage target = Filled({12, 10}, kBlack).convertToFormat(QImage::Format_RGB32);

    // Loads picture and draws it into (X, Y, W, h) of target; returns the W and h used.
    QSize Draw(const QImage& picture, int X, int Y, int W, int h) {
        const QString path = tmp.path(QStringLiteral("p.png"));
        EXPECT_TRUE(picture.save(path, "PNG") && overlay.Load(path));
        overlay.StretchDC(target, X, Y, W, h);
        return {W, h};
    }
};

TEST(PngOverlay, SizeRules) {
    const struct {
        QSize picture;
        int W, h, wantW, wantH;
    } rows[] = {{{900, 600}, 0, 6, 9, 6}, {{900, 600}, 0, 300, 450, 300}, {{900, 600}, 6, 0, 6, 4},
                {{900, 600}, 5, 7, 5, 7}, {{900, 600}, 0, 0, 0, 0},       {{1, 700}, 0, 1, 0, 1}};
    for (const auto& r : rows) {
        Fixture f;
        EXPECT_EQ(f.Draw(Filled(r.picture, qRgb(255, 0, 0)), 1, 2, r.W, r.h),
                  QSize(r.wantW, r.wantH));
        for (int y = 0; y < f.target.height(); ++y) {
            for (int x = 0; x < f.target.width(); ++x) {
                const bool inside = QRect(1, 2, r.wantW, r.wantH).contains(x, y);
                ASSERT_EQ(f.target.pixel(x, y), inside ? qRgb(255, 0, 0) : kBlack)
                    << r.W << "x" << r.h << " at " << x << "," << y;
            }
        }
    }
}

TEST(PngOverlay, EnlargesBicubic) {
    QImage ramp(4, 1, QImage::Format_ARGB32);
    for (int x = 0; x < 4; ++x) {
        ramp.setPixel(x, 0, x < 2 ? kBlack : 0xffffffff);
    }
    Fixture f;
    f.Draw(ramp, 0, 0, 8, 1);
    // Catmull-Rom with centred pixels; bilinear would give 64 and 191 at x = 3 and 4.
    const int want[8] = {0, 0, 0, 52, 203, 255, 255, 255};
    for (int x = 0; x < 8; ++x) {
        EXPECT_NEAR(qGreen(f.target.pixel(x, 0)), want[x], 1) << x;
    }
}

TEST(PngOverlay, BlendsSourceOver) {
    Fixture f;
    f.Draw(Filled({4, 4}, qRgba(255, 255, 255, 128)), 0, 0, 9, 9);
    EXPECT_NEAR(qRed(f.target.pixel(3, 3)), 128, 2);
    EXPECT_EQ(f.target.pixel(9, 9), kBlack);
}

TEST(PngOverlay, ClipsToTheTarget) {
    for (const QPoint at : {QPoint(-5, -5), QPoint(6, 6)}) {
        Fixture f;
        f.Draw(Filled({5, 5}, qRgb(255, 0, 0)), at.x(), at.y(), 10, 10);
        for (int y = 0; y < f.target.height(); ++y) {
            for (int x = 0; x < f.target.width(); ++x) {
                const bool inside = QRect(at, QSize(10, 10)).contains(x, y);
                ASSERT_EQ(f.target.pixel(x, y), inside ? qRgb(255, 0, 0) : kBlack) << x << "," << y;
            }
        }
    }
}

TEST(PngOverlay, NonPictureDrawsNothing) {
    Fixture f;
    f.Draw(Filled({4, 4}, qRgb(255, 0, 0)), 0, 0, 4, 4);
    f.target.fill(kBlack);
    EXPECT_FALSE(f.overlay.Load(f.tmp.write(QStringLiteral("junk.png"), "no picture")));
    int W = 5;
    int h = 5;
    f.overlay.StretchDC(f.target, 0, 0, W, h);
    EXPECT_EQ(f.target, Filled({12, 10}, kBlack).convertToFormat(QImage::Format_RGB32));
}

}  // namespace
}  // namespace leafsong
