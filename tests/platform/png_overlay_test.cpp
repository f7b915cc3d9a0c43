#include "platform/png_overlay.h"

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

#include "support/temp_folder.h"

namespace leafsong {
namespace {

using test::TempFolder;

QString SavePng(const TempFolder& tmp, const QString& name, const QImage& img) {
    const QString path = tmp.path(name);
    EXPECT_TRUE(img.save(path, "PNG"));
    return path;
}

QString SolidPng(const TempFolder& tmp, const QString& name, QSize size, QRgb argb) {
    QImage img(size, QImage::Format_ARGB32);
    img.fill(argb);
    return SavePng(tmp, name, img);
}

QImage Target(QSize size, QRgb fill) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

bool IsRed(QRgb p) {
    return qRed(p) >= 250 && qGreen(p) <= 5 && qBlue(p) <= 5;
}

// --- size rules ---

struct SizeCase {
    QSize picture;
    int W, h;          // asked for
    int wantW, wantH;  // used and written back
};

class StretchDCSize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(StretchDCSize, DrawsExactlyTheRectangleItReports) {
    const SizeCase& c = GetParam();
    TempFolder tmp;
    PngOverlay overlay;
    ASSERT_TRUE(overlay.Load(SolidPng(tmp, QStringLiteral("p.png"), c.picture, qRgb(255, 0, 0))));
    QImage target = Target({1000, 700}, qRgb(0, 0, 0));
    const QImage before = target.copy();
    const int X = 3;
    const int Y = 2;
    int W = c.W;
    int h = c.h;
    overlay.StretchDC(target, X, Y, W, h);
    EXPECT_EQ(W, c.wantW);
    EXPECT_EQ(h, c.wantH);
    if (c.wantW == 0 || c.wantH == 0) {
        EXPECT_EQ(target, before);
        return;
    }
    EXPECT_TRUE(IsRed(target.pixel(X, Y)));
    EXPECT_TRUE(IsRed(target.pixel(X + W - 1, Y + h - 1)));
    EXPECT_EQ(target.pixel(X + W, Y + h / 2), qRgb(0, 0, 0));
    EXPECT_EQ(target.pixel(X + W / 2, Y + h), qRgb(0, 0, 0));
    EXPECT_EQ(target.pixel(X - 1, Y), qRgb(0, 0, 0));
    EXPECT_EQ(target.pixel(X, Y - 1), qRgb(0, 0, 0));
}

INSTANTIATE_TEST_SUITE_P(
    PngOverlay, StretchDCSize,
    ::testing::Values(SizeCase{{900, 600}, 0, 300, 450, 300},  // width from height
                      SizeCase{{900, 600}, 300, 0, 300, 200},  // height from width
                      SizeCase{{900, 600}, 10, 7, 10, 7},      // both given: aspect ignored
                      SizeCase{{3, 2}, 0, 1, 2, 1},            // 1.5 -> 2
                      SizeCase{{3, 2}, 0, 3, 4, 3},            // 4.5 -> 4 (halves to even)
                      SizeCase{{3, 2}, 0, 5, 8, 5},            // 7.5 -> 8
                      SizeCase{{2, 3}, 3, 0, 3, 4},            // 4.5 -> 4
                      SizeCase{{2, 3}, 5, 0, 5, 8},            // 7.5 -> 8
                      SizeCase{{900, 600}, 0, 0, 0, 0},        // nothing drawn
                      SizeCase{{1, 700}, 0, 1, 0, 1}));        // width rounds to 0: nothing

TEST(PngOverlay, NothingDrawnWithoutAPicture) {
    TempFolder tmp;
    PngOverlay overlay;
    QImage target = Target({20, 20}, qRgb(0, 0, 0));
    const QImage before = target.copy();
    int W = 10;
    int h = 10;
    overlay.StretchDC(target, 0, 0, W, h);
    EXPECT_EQ(target, before);

    ASSERT_TRUE(overlay.Load(SolidPng(tmp, QStringLiteral("a.png"), {30, 20}, qRgb(255, 0, 0))));
    const QString junk = tmp.write(QStringLiteral("junk.png"), "this is no picture");
    EXPECT_FALSE(overlay.Load(junk));
    EXPECT_FALSE(overlay.isLoaded());
    EXPECT_EQ(overlay.width(), 30);  // kept from the last picture
    EXPECT_EQ(overlay.height(), 20);
    W = 0;
    h = 10;
    overlay.StretchDC(target, 0, 0, W, h);
    EXPECT_EQ(W, 15);
    EXPECT_EQ(target, before);

    EXPECT_FALSE(overlay.Load(tmp.path(QStringLiteral("missing.png"))));
    overlay.StretchDC(target, 0, 0, W, h);
    EXPECT_EQ(target, before);
}

TEST(PngOverlay, LoadAndReleaseForgetEarlierScalings) {
    TempFolder tmp;
    PngOverlay overlay;
    QImage target = Target({8, 8}, qRgb(0, 0, 0));
    int W = 8;
    int h = 8;
    ASSERT_TRUE(overlay.Load(SolidPng(tmp, QStringLiteral("r.png"), {4, 4}, qRgb(255, 0, 0))));
    overlay.StretchDC(target, 0, 0, W, h);
    ASSERT_TRUE(IsRed(target.pixel(4, 4)));

    ASSERT_TRUE(overlay.Load(SolidPng(tmp, QStringLiteral("b.png"), {4, 4}, qRgb(0, 0, 255))));
    overlay.StretchDC(target, 0, 0, W, h);
    EXPECT_GE(qBlue(target.pixel(4, 4)), 250);
    EXPECT_LE(qRed(target.pixel(4, 4)), 5);

    overlay.Release();
    target.fill(qRgb(0, 0, 0));
    overlay.StretchDC(target, 0, 0, W, h);
    EXPECT_EQ(target.pixel(4, 4), qRgb(0, 0, 0));
}

TEST(PngOverlay, ClipsToTheTarget) {
    TempFolder tmp;
    PngOverlay overlay;
    ASSERT_TRUE(overlay.Load(SolidPng(tmp, QStringLiteral("r.png"), {5, 5}, qRgb(255, 0, 0))));
    for (const QPoint at : {QPoint(-5, -5), QPoint(6, 6)}) {
        QImage target = Target({8, 8}, qRgb(0, 0, 0));
        int W = 10;
        int h = 10;
        overlay.StretchDC(target, at.x(), at.y(), W, h);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                const bool inside =
                    x >= at.x() && x < at.x() + 10 && y >= at.y() && y < at.y() + 10;
                EXPECT_EQ(IsRed(target.pixel(x, y)), inside) << x << "," << y;
            }
        }
    }
}

TEST(PngOverlay, PositionsAreDevicePixelsWhateverTheTargetsRatio) {
    TempFolder tmp;
    PngOverlay overlay;
    ASSERT_TRUE(overlay.Load(SolidPng(tmp, QStringLiteral("r.png"), {2, 2}, qRgb(255, 0, 0))));
    QImage target = Target({16, 16}, qRgb(0, 0, 0));
    target.setDevicePixelRatio(2.0);
    int W = 2;
    int h = 2;
    overlay.StretchDC(target, 4, 4, W, h);
    EXPECT_TRUE(IsRed(target.pixel(4, 4)));
    EXPECT_TRUE(IsRed(target.pixel(5, 5)));
    EXPECT_EQ(target.pixel(6, 6), qRgb(0, 0, 0));
    EXPECT_EQ(target.pixel(8, 8), qRgb(0, 0, 0));
}

// --- blending ---

struct BlendCase {
    QRgb overlay;  // unpremultiplied, as stored in the PNG
    QRgb target;
    QRgb want;
};

class SourceOver : public ::testing::TestWithParam<BlendCase> {};

TEST_P(SourceOver, BlendsOverTheTarget) {
    const BlendCase& c = GetParam();
    TempFolder tmp;
    PngOverlay overlay;
    ASSERT_TRUE(overlay.Load(SolidPng(tmp, QStringLiteral("o.png"), {4, 4}, c.overlay)));
    for (const int size : {4, 9}) {  // unscaled and scaled
        QImage target = Target({10, 10}, c.target);
        int W = size;
        int h = size;
        overlay.StretchDC(target, 0, 0, W, h);
        const QRgb got = target.pixel(1, 1);
        EXPECT_NEAR(qRed(got), qRed(c.want), 2) << size;
        EXPECT_NEAR(qGreen(got), qGreen(c.want), 2) << size;
        EXPECT_NEAR(qBlue(got), qBlue(c.want), 2) << size;
    }
}

INSTANTIATE_TEST_SUITE_P(
    PngOverlay, SourceOver,
    ::testing::Values(BlendCase{qRgba(255, 255, 255, 128), qRgb(0, 0, 0), qRgb(128, 128, 128)},
                      BlendCase{qRgba(255, 255, 255, 128), qRgb(0, 100, 200), qRgb(128, 178, 228)},
                      BlendCase{qRgba(0, 0, 0, 64), qRgb(200, 200, 200), qRgb(150, 150, 150)},
                      BlendCase{qRgba(10, 20, 30, 255), qRgb(200, 200, 200), qRgb(10, 20, 30)},
                      BlendCase{qRgba(255, 0, 0, 0), qRgb(7, 8, 9), qRgb(7, 8, 9)}));

// --- bicubic scaling ---

double CatmullRom(double x) {
    x = std::abs(x);
    if (x < 1) {
        return 1.5 * x * x * x - 2.5 * x * x + 1;
    }
    if (x < 2) {
        return -0.5 * x * x * x + 2.5 * x * x - 4 * x + 2;
    }
    return 0;
}

double Triangle(double x) {
    return std::max(0.0, 1 - std::abs(x));
}

// Enlarges one premultiplied channel by a separable kernel, pixel centres aligned and edges
// repeated, rounded to bytes.
int Enlarged(const QImage& src, int channelShift, int x, int y, QSize out,
             const std::function<double(double)>& kernel) {
    const double u = (x + 0.5) * src.width() / out.width() - 0.5;
    const double v = (y + 0.5) * src.height() / out.height() - 0.5;
    double sum = 0;
    for (int ky = static_cast<int>(std::floor(v)) - 2; ky <= std::floor(v) + 2; ++ky) {
        for (int kx = static_cast<int>(std::floor(u)) - 2; kx <= std::floor(u) + 2; ++kx) {
            const QRgb p =
                src.pixel(std::clamp(kx, 0, src.width() - 1), std::clamp(ky, 0, src.height() - 1));
            sum += ((p >> channelShift) & 0xff) * kernel(u - kx) * kernel(v - ky);
        }
    }
    return std::clamp(static_cast<int>(std::lround(sum)), 0, 255);
}

TEST(PngOverlay, EnlargesWithTheCatmullRomKernelOnPremultipliedPixels) {
    TempFolder tmp;
    QImage picture(3, 3, QImage::Format_ARGB32);
    const std::array<QRgb, 9> pixels = {
        qRgba(255, 0, 0, 255),     qRgba(0, 255, 0, 255),  qRgba(0, 0, 255, 255),
        qRgba(255, 255, 255, 200), qRgba(10, 20, 30, 255), qRgba(200, 100, 0, 120),
        qRgba(0, 0, 0, 255),       qRgba(255, 255, 0, 60), qRgba(90, 180, 250, 255)};
    for (int i = 0; i < 9; ++i) {
        picture.setPixel(i % 3, i / 3, pixels[static_cast<size_t>(i)]);
    }
    const QString path = SavePng(tmp, QStringLiteral("grid.png"), picture);
    const QImage premul = QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);

    PngOverlay overlay;
    ASSERT_TRUE(overlay.Load(path));
    const QSize out(7, 5);
    QImage onBlack = Target(out, qRgb(0, 0, 0));
    QImage onWhite = Target(out, qRgb(255, 255, 255));
    int W = out.width();
    int h = out.height();
    overlay.StretchDC(onBlack, 0, 0, W, h);
    overlay.StretchDC(onWhite, 0, 0, W, h);

    int largestBilinearGap = 0;
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            const int a = Enlarged(premul, 24, x, y, out, CatmullRom);
            for (const int shift : {16, 8, 0}) {
                // Over black a premultiplied colour shows as it is; colours past their alpha
                // (overshoot) are held at the alpha.
                const int want = std::min(Enlarged(premul, shift, x, y, out, CatmullRom), a);
                const int black = static_cast<int>((onBlack.pixel(x, y) >> shift) & 0xff);
                const int white = static_cast<int>((onWhite.pixel(x, y) >> shift) & 0xff);
                EXPECT_NEAR(black, want, 1) << x << "," << y << " shift " << shift;
                // Over white the rest of the light comes through: 255 - alpha.
                EXPECT_NEAR(white - black, 255 - a, 2) << x << "," << y << " shift " << shift;
                largestBilinearGap = std::max(
                    largestBilinearGap,
                    std::abs(want - std::min(Enlarged(premul, shift, x, y, out, Triangle), a)));
            }
        }
    }
    // The picture is chosen so that a bilinear result could not pass.
    EXPECT_GE(largestBilinearGap, 5);
}

TEST(PngOverlay, OvershootNeverBrightensPastAlpha) {
    // Half-transparent white beside half-transparent black: Catmull-Rom rings past the white.
    TempFolder tmp;
    QImage picture(4, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(0, 0, 0, 128));
    picture.setPixel(1, 0, qRgba(0, 0, 0, 128));
    picture.setPixel(2, 0, qRgba(255, 255, 255, 128));
    picture.setPixel(3, 0, qRgba(255, 255, 255, 128));
    PngOverlay overlay;
    ASSERT_TRUE(overlay.Load(SavePng(tmp, QStringLiteral("edge.png"), picture)));
    QImage onBlack = Target({17, 3}, qRgb(0, 0, 0));
    QImage onWhite = Target({17, 3}, qRgb(255, 255, 255));
    int W = 17;
    int h = 3;
    overlay.StretchDC(onBlack, 0, 0, W, h);
    overlay.StretchDC(onWhite, 0, 0, W, h);
    int brightest = 0;
    for (int x = 0; x < 17; ++x) {
        brightest = std::max(brightest, qRed(onBlack.pixel(x, 1)));
        // An invalid premultiplied pixel would carry into the next channel over white.
        EXPECT_GE(qRed(onWhite.pixel(x, 1)), 125) << x;
        EXPECT_EQ(qRed(onWhite.pixel(x, 1)), qGreen(onWhite.pixel(x, 1))) << x;
    }
    EXPECT_GE(brightest, 126);
    EXPECT_LE(brightest, 129);
}

}  // namespace
}  // namespace leafsong
