// The decorations, cursor and icon as the program embeds them: the layout the page drawing relies
// on.
#include <gtest/gtest.h>

#include <QHash>
#include <QImage>
#include <QRect>
#include <QSet>
#include <QString>
#include <cstdlib>
#include <cstring>

namespace {

const QImage& Embedded(const char* resource) {
    static QHash<QString, QImage> cache;
    const QString name = QString::fromLatin1(resource);
    auto it = cache.find(name);
    if (it == cache.end()) {
        it = cache.insert(name, QImage(name).convertToFormat(QImage::Format_ARGB32));
    }
    return *it;
}

// ---------------------------------------------------------------------------------------------
// Picture sizes.

struct SizeCase {
    const char* resource;
    QSize size;
};

class DecorationSize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(DecorationSize, IsEmbeddedAtItsSize) {
    const QImage& img = Embedded(GetParam().resource);
    ASSERT_FALSE(img.isNull()) << GetParam().resource << " is missing or unreadable";
    EXPECT_EQ(img.size(), GetParam().size);
    EXPECT_TRUE(img.hasAlphaChannel());
}

INSTANTIATE_TEST_SUITE_P(Decorations, DecorationSize,
                         ::testing::Values(SizeCase{":/leafsong/Border.png", {900, 600}},
                                           SizeCase{":/leafsong/ShadowR.png", {900, 600}},
                                           SizeCase{":/leafsong/ShadowL.png", {900, 600}},
                                           SizeCase{":/leafsong/PageCover.png", {920, 620}},
                                           SizeCase{":/leafsong/cursor.png", {32, 32}}));

// ---------------------------------------------------------------------------------------------
// Areas of each picture: every pixel's alpha within a range, and (where it shows at all) a grey
// within a range. kAnyGrey skips the colour check.

constexpr int kAnyGrey = -1;

struct AreaCase {
    const char* name;  // test name
    const char* resource;
    QRect area;
    int alphaLo, alphaHi;
    int greyLo, greyHi;
};

void PrintTo(const AreaCase& c, std::ostream* os) {
    *os << c.name;
}

class DecorationArea : public ::testing::TestWithParam<AreaCase> {};

TEST_P(DecorationArea, PixelsWithinRange) {
    const AreaCase& c = GetParam();
    const QImage& img = Embedded(c.resource);
    ASSERT_TRUE(img.rect().contains(c.area)) << c.resource;
    int faults = 0;
    for (int y = c.area.top(); y <= c.area.bottom() && faults < 5; ++y) {
        for (int x = c.area.left(); x <= c.area.right() && faults < 5; ++x) {
            const QRgb p = img.pixel(x, y);
            const int a = qAlpha(p);
            bool ok = a >= c.alphaLo && a <= c.alphaHi;
            if (ok && a > 0 && c.greyLo != kAnyGrey) {
                ok = qRed(p) == qGreen(p) && qGreen(p) == qBlue(p) && qRed(p) >= c.greyLo &&
                     qRed(p) <= c.greyHi;
            }
            if (!ok) {
                ++faults;
                ADD_FAILURE() << c.resource << " at (" << x << "," << y << "): rgba(" << qRed(p)
                              << "," << qGreen(p) << "," << qBlue(p) << "," << a << ")";
            }
        }
    }
}

constexpr char kBorder[] = ":/leafsong/Border.png";
constexpr char kShadowR[] = ":/leafsong/ShadowR.png";
constexpr char kShadowL[] = ":/leafsong/ShadowL.png";
constexpr char kCover[] = ":/leafsong/PageCover.png";
constexpr char kCursor[] = ":/leafsong/cursor.png";

// Rectangles as corners, inclusive, to read like the layout they describe.
QRect Box(int x0, int y0, int x1, int y1) {
    return QRect(QPoint(x0, y0), QPoint(x1, y1));
}

INSTANTIATE_TEST_SUITE_P(
    Decorations, DecorationArea,
    ::testing::Values(
        AreaCase{"BorderLeftMargin", kBorder, Box(0, 0, 14, 599), 255, 255, 255, 255},
        AreaCase{"BorderRightMargin", kBorder, Box(886, 0, 899, 599), 255, 255, 255, 255},
        AreaCase{"BorderTopMargin", kBorder, Box(0, 0, 899, 9), 255, 255, 255, 255},
        AreaCase{"BorderBottomMargin", kBorder, Box(0, 590, 899, 599), 255, 255, 255, 255},
        AreaCase{"BorderFaintColumn", kBorder, Box(15, 10, 15, 589), 3, 3, 255, 255},
        AreaCase{"BorderClearInside", kBorder, Box(16, 10, 885, 589), 0, 0, kAnyGrey, 0},

        AreaCase{"ShadowRLeftHalfClear", kShadowR, Box(0, 0, 449, 599), 0, 0, kAnyGrey, 0},
        AreaCase{"ShadowRSpineLine", kShadowR, Box(450, 10, 450, 589), 11, 11, 0, 0},
        AreaCase{"ShadowRSheenStart", kShadowR, Box(451, 10, 451, 589), 24, 24, 107, 107},
        AreaCase{"ShadowRSheenPeak", kShadowR, Box(510, 10, 520, 589), 42, 45, kAnyGrey, 0},
        AreaCase{"ShadowRSheenDarkest", kShadowR, Box(545, 10, 555, 589), 1, 45, 0, 3},
        AreaCase{"ShadowRSheenRisen", kShadowR, Box(610, 10, 610, 589), 1, 45, 76, 79},
        AreaCase{"ShadowRSheenGone", kShadowR, Box(655, 10, 665, 589), 0, 1, kAnyGrey, 0},
        AreaCase{"ShadowROuterShade", kShadowR, Box(661, 10, 885, 589), 0, 20, 0, 0},
        AreaCase{"ShadowROuterShadeDarkest", kShadowR, Box(880, 10, 885, 589), 18, 20, 0, 0},
        AreaCase{"ShadowROuterEdges", kShadowR, Box(886, 10, 899, 589), 130, 130, 210, 215},
        AreaCase{"ShadowRTopEdges", kShadowR, Box(450, 0, 899, 9), 130, 130, 172, 255},
        AreaCase{"ShadowRBottomEdges", kShadowR, Box(450, 590, 899, 599), 130, 130, 172, 255},

        AreaCase{"ShadowLRightHalfClear", kShadowL, Box(450, 0, 899, 599), 0, 0, kAnyGrey, 0},
        AreaCase{"ShadowLOuterEdges", kShadowL, Box(0, 10, 14, 589), 128, 128, 206, 211},
        AreaCase{"ShadowLOuterShadeStart", kShadowL, Box(15, 10, 15, 589), 24, 24, 0, 0},
        AreaCase{"ShadowLOuterShade", kShadowL, Box(16, 10, 170, 589), 0, 24, 0, 0},
        AreaCase{"ShadowLMiddleClear", kShadowL, Box(171, 10, 244, 589), 0, 0, kAnyGrey, 0},
        AreaCase{"ShadowLSpineShadowPeak", kShadowL, Box(360, 10, 375, 589), 42, 45, 0, 0},
        AreaCase{"ShadowLSpineShadowEnd", kShadowL, Box(449, 10, 449, 589), 20, 20, 0, 0},
        AreaCase{"ShadowLTopEdges", kShadowL, Box(0, 0, 449, 9), 128, 128, 172, 255},
        AreaCase{"ShadowLBottomEdges", kShadowL, Box(0, 590, 449, 599), 128, 128, 172, 255},

        AreaCase{"CoverTopClear", kCover, Box(0, 0, 919, 6), 0, 0, kAnyGrey, 0},
        AreaCase{"CoverOpaqueGreys", kCover, Box(8, 14, 911, 611), 255, 255, 0, 255},
        AreaCase{"CoverBottomOpaque", kCover, Box(8, 612, 911, 619), 255, 255, 0, 255},

        AreaCase{"CursorBackgroundClear", kCursor, Box(0, 28, 31, 31), 0, 0, kAnyGrey, 0},
        AreaCase{"CursorNothingLeftOfTip", kCursor, Box(0, 0, 5, 5), 0, 0, kAnyGrey, 0}),
    [](const ::testing::TestParamInfo<AreaCase>& param) { return std::string(param.param.name); });

// The page shadings hold one row profile over the full height between the edge bands, so they
// scale to any page height without bending.
TEST(Decorations, ShadingsAreTheSameInEveryRow) {
    for (const char* resource : {kShadowR, kShadowL}) {
        const QImage& img = Embedded(resource);
        ASSERT_EQ(img.height(), 600) << resource;
        for (int y = 11; y <= 589; ++y) {
            ASSERT_EQ(
                0, memcmp(img.constScanLine(10), img.constScanLine(y), size_t(img.bytesPerLine())))
                << resource << " row " << y << " differs from row 10";
        }
    }
}

// The shading's spine side darkens smoothly: no sudden jump in alpha between neighbours.
TEST(Decorations, ShadingsHaveNoStepsAwayFromTheirEdges) {
    struct Span {
        const char* resource;
        int x0, x1;
    };
    for (const Span s : {Span{kShadowR, 451, 885}, Span{kShadowL, 15, 449}}) {
        const QImage& img = Embedded(s.resource);
        for (int x = s.x0 + 1; x <= s.x1; ++x) {
            EXPECT_LE(std::abs(qAlpha(img.pixel(x, 300)) - qAlpha(img.pixel(x - 1, 300))), 3)
                << s.resource << " at x=" << x;
        }
    }
}

TEST(Decorations, CursorTipIsAtTheHotSpot) {
    const QImage& img = Embedded(kCursor);
    ASSERT_EQ(img.size(), QSize(32, 32));
    bool opaqueNear = false;
    for (int y = 0; y <= 2; ++y) {
        for (int x = 11; x <= 13; ++x) {
            opaqueNear = opaqueNear || qAlpha(img.pixel(x, y)) == 255;
        }
    }
    EXPECT_TRUE(opaqueNear) << "nothing drawn around the hot spot (12,1)";
    // The tip is the topmost part of the picture: nothing above row 0 but the tip itself.
    for (int x = 0; x < 32; ++x) {
        if (qAlpha(img.pixel(x, 0)) != 0) {
            EXPECT_NEAR(x, 12, 2) << "something drawn at the top away from the tip";
        }
    }
    // Black outline and white fill only.
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb p = img.pixel(x, y);
            if (qAlpha(p) != 0) {
                EXPECT_TRUE(p == qRgb(0, 0, 0) || p == qRgb(255, 255, 255))
                    << "(" << x << "," << y << ")";
            }
        }
    }
}

TEST(Decorations, ProgramIconIsAnOpaque32PixelPicture) {
    const QImage img = QImage(QStringLiteral(":/leafsong/leafsong.png"));
    ASSERT_EQ(img.size(), QSize(32, 32));
    const QImage argb = img.convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> colours;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            ASSERT_EQ(qAlpha(argb.pixel(x, y)), 255) << "(" << x << "," << y << ")";
            colours.insert(argb.pixel(x, y));
        }
    }
    EXPECT_GT(colours.size(), 64) << "looks like a few-colour picture, not a full-colour icon";
}

}  // namespace
