#include "flip/strip_warp.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "flip/page_pattern.h"

namespace leafsong {
namespace {

using test::PatternBuffer;
using test::SourceOf;

constexpr QRgb kUntouched = qRgb(1, 2, 3);

struct Args {
    int outX, outY, OutWidth, outStartHeight, outEndHeight, outYOff, inWidth;
    bool Direction;
};

std::vector<LeafColumn> Plan(const Args& a) {
    return PlanLeaf(a.outX, a.outY, a.OutWidth, a.outStartHeight, a.outEndHeight, a.outYOff,
                    a.inWidth, a.Direction);
}

struct Expected {
    int x, top, height, sx;
};

struct PlanCase {
    const char* name;
    Args args;
    int firstX, lastX;  // every column between, once, left to right
    std::vector<Expected> columns;
};

void PrintTo(const PlanCase& c, std::ostream* os) {
    *os << c.name;
}

class LeafPlanExamples : public ::testing::TestWithParam<PlanCase> {};

TEST_P(LeafPlanExamples, ColumnForColumn) {
    const PlanCase& c = GetParam();
    const std::vector<LeafColumn> plan = Plan(c.args);
    ASSERT_EQ(plan.size(), static_cast<size_t>(c.lastX - c.firstX + 1));
    std::map<int, LeafColumn> byX;
    for (size_t k = 0; k < plan.size(); ++k) {
        EXPECT_EQ(plan[k].x, c.firstX + static_cast<int>(k));
        byX[plan[k].x] = plan[k];
    }
    for (const Expected& e : c.columns) {
        ASSERT_TRUE(byX.count(e.x)) << "x=" << e.x;
        const LeafColumn& got = byX[e.x];
        EXPECT_EQ(got.top, e.top) << "top at x=" << e.x;
        EXPECT_EQ(got.height, e.height) << "height at x=" << e.x;
        EXPECT_EQ(got.sx, e.sx) << "source column at x=" << e.x;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Warp, LeafPlanExamples,
    ::testing::Values(
        // A forward frame at FlipPos 730 over a 1000 x 667 picture.
        PlanCase{"right half lying almost flat",
                 {730, 84, -355, 500, 500, 16, 500, true},
                 375,
                 730,
                 {{375, 100, 500, 500}, {552, 67, 500, 749}, {730, 84, 500, 1000}}},
        // A forward frame at FlipPos 370, just past the spine.
        PlanCase{"left half almost upright",
                 {370, -88, 5, 500, 500, 188, 500, false},
                 370,
                 375,
                 {{370, -88, 500, 0},
                  {371, -65, 500, 100},
                  {372, -37, 500, 200},
                  {373, 1, 500, 300},
                  {374, 47, 500, 400},
                  {375, 100, 500, 500}}},
        PlanCase{"one column to the right: free edge and fold",
                 {10, 20, 1, 500, 500, 40, 300, false},
                 10,
                 11,
                 {{10, 20, 500, 0}, {11, 60, 500, 300}}},
        PlanCase{"one column to the left: fold first",
                 {10, 20, -1, 500, 500, 40, 300, false},
                 9,
                 10,
                 {{9, 60, 500, 300}, {10, 20, 500, 0}}},
        PlanCase{"one column to the left, right half",
                 {10, 20, -1, 500, 500, 40, 300, true},
                 9,
                 10,
                 {{9, 60, 500, 300}, {10, 20, 500, 600}}},
        // The frame at FlipPos 30 (book at 0, 100): with the full pi this top is 97.
        PlanCase{"arch uses 3.14159",
                 {30, 76, 345, 500, 500, 24, 500, false},
                 30,
                 375,
                 {{363, 96, 500, 483}, {364, 96, 500, 484}, {365, 97, 500, 486}}},
        // 1/40 and 7/40 are inexact; in double these land on 12.5 and 87.5 exactly.
        PlanCase{"position held in single precision",
                 {0, 0, 40, 500, 500, 0, 500, false},
                 0,
                 40,
                 {{1, -2, 500, 13}, {7, -13, 500, 87}}},
        PlanCase{"source 166.5 and top -22.5 round to even",
                 {0, 0, 2, 500, 500, 5, 333, false},
                 0,
                 2,
                 {{1, -22, 500, 166}}},
        PlanCase{"source 167.5 and top -21.5 round to even",
                 {0, 1, 2, 500, 500, 5, 335, false},
                 0,
                 2,
                 {{1, -22, 500, 168}}},
        PlanCase{"right half: 499.5 and 502.5 round to even",
                 {0, 0, 2, 500, 500, 5, 333, true},
                 0,
                 2,
                 {{0, 0, 500, 666}, {1, -22, 500, 500}, {2, 5, 500, 333}}},
        PlanCase{"right half of 670: 502.5 gives 502",
                 {0, 0, 2, 500, 500, 5, 335, true},
                 0,
                 2,
                 {{1, -22, 500, 502}}},
        PlanCase{"height grows towards the fold; arch from the fold's height",
                 {0, 50, 4, 100, 200, 0, 300, false},
                 0,
                 4,
                 {{0, 50, 100, 0},
                  {1, 43, 125, 75},
                  {2, 40, 150, 150},
                  {3, 43, 175, 225},
                  {4, 50, 200, 300}}},
        PlanCase{"height growth 2.5 rounds to even",
                 {0, 50, 2, 100, 105, 0, 300, false},
                 0,
                 2,
                 {{1, 45, 102, 150}}}));

TEST(LeafPlan, FirstWorkedExampleKeepsOneHeightAndFallsFromFoldToEdge) {
    const std::vector<LeafColumn> plan = Plan({730, 84, -355, 500, 500, 16, 500, true});
    ASSERT_EQ(plan.size(), 356u);
    EXPECT_FLOAT_EQ(plan.front().f, 1.0f);
    EXPECT_FLOAT_EQ(plan.back().f, 0.0f);
    EXPECT_FLOAT_EQ(plan[552 - 375].f, 0.50140846f);
    for (size_t k = 1; k < plan.size(); ++k) {
        EXPECT_EQ(plan[k].height, 500);
        // Leftwards from the free edge the source runs from the right edge to the middle.
        EXPECT_LE(plan[k - 1].sx, plan[k].sx);
    }
}

TEST(LeafPlan, ZeroWidthPlansAndDrawsNothing) {
    EXPECT_TRUE(Plan({100, 0, 0, 500, 500, 188, 300, true}).empty());
    const PageBuffer pic = PatternBuffer(1, {600, 400});
    QImage out(400, 600, QImage::Format_RGB32);
    out.fill(kUntouched);
    const QImage before = out.copy();
    FlipSBlt(out, 100, 0, 0, 500, 500, 188, pic, 300, 400, true);
    EXPECT_EQ(out, before);
}

TEST(LeafPlan, NegativeWidthMirrorsPositiveAboutTheFreeEdge) {
    for (const bool direction : {false, true}) {
        for (const int n : {1, 5, 40, 355, 376}) {
            const Args right{400, 30, n, 480, 500, 77, 517, direction};
            Args left = right;
            left.OutWidth = -n;
            const std::vector<LeafColumn> r = Plan(right);
            const std::vector<LeafColumn> l = Plan(left);
            ASSERT_EQ(r.size(), l.size());
            for (int k = 0; k <= n; ++k) {
                const LeafColumn& a = r[static_cast<size_t>(k)];
                const LeafColumn& b = l[static_cast<size_t>(n - k)];
                ASSERT_EQ(a.x, 400 + k);
                ASSERT_EQ(b.x, 400 - k);
                EXPECT_EQ(a.f, b.f) << "n=" << n << " k=" << k;
                EXPECT_EQ(a.top, b.top) << "n=" << n << " k=" << k;
                EXPECT_EQ(a.height, b.height) << "n=" << n << " k=" << k;
                EXPECT_EQ(a.sx, b.sx) << "n=" << n << " k=" << k;
            }
        }
    }
}

// Draws a leaf onto a surface-sized image that starts out untouched.
QImage Drawn(QSize size, const Args& a, const PageBuffer& pic, int inHeight) {
    QImage out(size, QImage::Format_RGB32);
    out.fill(kUntouched);
    FlipSBlt(out, a.outX, a.outY, a.OutWidth, a.outStartHeight, a.outEndHeight, a.outYOff, pic,
             a.inWidth, inHeight, a.Direction);
    return out;
}

TEST(FlipSBlt, EachColumnIsItsWholeSourceColumnScaledToItsHeight) {
    // Stored at its logical size, so a source column is a stored column.
    const PageBuffer pic = PatternBuffer(1, {600, 400});
    const Args a{300, 40, -200, 300, 500, 60, 300, true};
    const QImage out = Drawn({700, 700}, a, pic, 400);
    for (const LeafColumn& c : Plan(a)) {
        ASSERT_GT(c.height, 0);
        if (c.sx >= 600) {
            continue;
        }
        EXPECT_EQ(out.pixel(c.x, c.top - 1), kUntouched) << "above x=" << c.x;
        EXPECT_EQ(out.pixel(c.x, c.top + c.height), kUntouched) << "below x=" << c.x;
        int lastRow = -1;
        for (int y = c.top; y < c.top + c.height; ++y) {
            const test::PatternSource s = SourceOf(out.pixel(c.x, y));
            ASSERT_EQ(s.id, 1) << "x=" << c.x << " y=" << y;
            EXPECT_EQ(s.x, c.sx) << "x=" << c.x << " y=" << y;
            EXPECT_GE(s.y, lastRow);  // rows are repeated or dropped, never reordered
            lastRow = s.y;
        }
        EXPECT_EQ(SourceOf(out.pixel(c.x, c.top)).y, 0);
        EXPECT_EQ(lastRow, 399);
    }
}

TEST(FlipSBlt, LogicalSourceColumnsMapToTheStoredPixelsCoveringThem) {
    // 1000 x 667 is stored at 750 x 500: a logical column is three quarters of a stored one.
    const PageBuffer pic = PatternBuffer(1, {1000, 667});
    ASSERT_EQ(pic.pixels().size(), QSize(750, 500));
    const Args a{730, 84, -355, 500, 500, 16, 500, true};
    const QImage out = Drawn({800, 700}, a, pic, 667);
    for (const LeafColumn& c : Plan(a)) {
        const int y = c.top + 250;
        const test::PatternSource s = SourceOf(out.pixel(c.x, y));
        if (c.sx >= 1000) {
            EXPECT_EQ(out.pixel(c.x, y), kUntouched);
            continue;
        }
        ASSERT_EQ(s.id, 1) << "x=" << c.x;
        // The logical column's centre lies in the stored column drawn.
        const double centre = (c.sx + 0.5) * 0.75;
        EXPECT_LE(s.x, centre) << "x=" << c.x;
        EXPECT_GT(s.x + 1, centre) << "x=" << c.x;
        // 667 logical rows onto 500 destination rows: the stored rows fit one to one.
        EXPECT_EQ(s.y, 250) << "x=" << c.x;
    }
}

TEST(FlipSBlt, FreeEdgePastAnEvenWidthPictureIsLeftAsItWas) {
    const Args a{50, 10, -10, 100, 100, 0, 300, true};
    const QImage even = Drawn({100, 200}, a, PatternBuffer(1, {600, 400}), 400);
    EXPECT_EQ(even.pixel(50, 60), kUntouched);  // source column 600 lies past the picture
    EXPECT_EQ(SourceOf(even.pixel(49, 60)).x, 570);
    EXPECT_EQ(SourceOf(even.pixel(40, 60)).x, 300);
    EXPECT_EQ(even.pixel(51, 60), kUntouched);

    const QImage odd = Drawn({100, 200}, a, PatternBuffer(1, {601, 400}), 400);
    EXPECT_EQ(SourceOf(odd.pixel(50, 60)).x, 600);
}

TEST(FlipSBlt, RowsPastTheSourcePictureAreLeftAsTheyWere) {
    // Asking for twice the picture's rows: the lower half of every column has no source.
    const Args a{10, 10, 4, 100, 100, 0, 300, false};
    const QImage out = Drawn({40, 120}, a, PatternBuffer(1, {600, 400}), 800);
    const LeafColumn c = Plan(a)[2];
    EXPECT_EQ(SourceOf(out.pixel(c.x, c.top + 49)).id, 1);
    EXPECT_EQ(out.pixel(c.x, c.top + 50), kUntouched);
    EXPECT_EQ(out.pixel(c.x, c.top + 99), kUntouched);
}

TEST(FlipSBlt, ClipsAtTheImageEdgesWithoutShiftingTheLeaf) {
    const PageBuffer pic = PatternBuffer(1, {600, 400});
    // The same leaf 100 rows lower on a taller image is the reference.
    const Args high{380, -63, -40, 500, 500, 188, 300, true};
    Args low = high;
    low.outY += 100;
    const QImage clipped = Drawn({400, 600}, high, pic, 400);
    const QImage whole = Drawn({400, 700}, low, pic, 400);
    for (int x = 330; x < 400; ++x) {
        for (int y = 0; y < 600; ++y) {
            ASSERT_EQ(clipped.pixel(x, y), whole.pixel(x, y + 100)) << x << "," << y;
        }
    }
    // Columns right of the image (x 400 to 420) are dropped.
    const Args pastRight{420, 50, -40, 100, 100, 0, 300, true};
    const QImage right = Drawn({400, 200}, pastRight, pic, 400);
    EXPECT_EQ(SourceOf(right.pixel(399, 100)).x, Plan(pastRight)[19].sx);
}

}  // namespace
}  // namespace leafsong
