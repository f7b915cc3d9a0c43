#include "flip/strip_warp.h"

#include <gtest/gtest.h>

#include <array>

#include "platform/surface.h"

namespace leafsong {
namespace {

struct Args {
    int outX, outY, OutWidth, startH, endH, yOff, inWidth;
    bool Direction;
};
std::vector<LeafColumn> Plan(const Args& a) {
    return PlanLeaf(a.outX, a.outY, a.OutWidth, a.startH, a.endH, a.yOff, a.inWidth, a.Direction);
}
// The leaf drawn from a blank picture of the given size onto the key colour.
QImage Drawn(QSize size, const Args& a, QSize picture) {
    PageBuffer pic;
    pic.LoadEmpty(picture);
    QImage out(size, QImage::Format_RGB32);
    out.fill(kKeyColour);
    FlipSBlt(out, a.outX, a.outY, a.OutWidth, a.startH, a.endH, a.yOff, pic, a.inWidth,
             picture.height(), a.Direction);
    return out;
}

// Plans and some of their columns: x, top, height, source column.
// clang-format off
const std::pair<Args, std::vector<std::array<int, 4>>> kPlans[] = {
    // Forward frames at FlipPos 730 and 370 over a 1000 x 667 picture.
    {{730, 84, -355, 500, 500, 16, 500, true},
     {{375, 100, 500, 500}, {552, 67, 500, 749}, {730, 84, 500, 1000}}},
    {{370, -88, 5, 500, 500, 188, 500, false},
     {{370, -88, 500, 0}, {371, -65, 500, 100}, {372, -37, 500, 200}, {373, 1, 500, 300},
      {374, 47, 500, 400}, {375, 100, 500, 500}}},
    {{10, 20, 1, 500, 500, 40, 300, false}, {{10, 20, 500, 0}, {11, 60, 500, 300}}},
    {{10, 20, -1, 500, 500, 40, 300, false}, {{9, 60, 500, 300}, {10, 20, 500, 0}}},
    // The arch uses 3.14159 (with the full pi the top at 365 is 97).
    {{30, 76, 345, 500, 500, 24, 500, false},
     {{363, 96, 500, 483}, {364, 96, 500, 484}, {365, 97, 500, 486}}},
    // Positions held in float: in double 1/40 and 7/40 give 12.5 and 87.5.
    {{0, 0, 40, 500, 500, 0, 500, false}, {{1, -2, 500, 13}, {7, -13, 500, 87}}},
    // Ties round to even: source 166.5, 167.5, 499.5, 502.5; tops -22.5, -21.5; height 102.5.
    {{0, 0, 2, 500, 500, 5, 333, false}, {{1, -22, 500, 166}}},
    {{0, 1, 2, 500, 500, 5, 335, false}, {{1, -22, 500, 168}}},
    {{0, 0, 2, 500, 500, 5, 333, true}, {{0, 0, 500, 666}, {1, -22, 500, 500}, {2, 5, 500, 333}}},
    {{0, 0, 2, 500, 500, 5, 335, true}, {{1, -22, 500, 502}}},
    {{0, 50, 2, 100, 105, 0, 300, false}, {{1, 45, 102, 150}}},
    // Height grows towards the fold; the arch follows the fold's height.
    {{0, 50, 4, 100, 200, 0, 300, false},
     {{0, 50, 100, 0}, {1, 43, 125, 75}, {2, 40, 150, 150}, {3, 43, 175, 225}, {4, 50, 200, 300}}},
};
// clang-format on

TEST(PlanLeaf, WorkedColumns) {
    for (const auto& [a, columns] : kPlans) {
        SCOPED_TRACE(testing::Message() << a.outX << " " << a.OutWidth);
        const std::vector<LeafColumn> plan = Plan(a);
        ASSERT_EQ(plan.size(), size_t(std::abs(a.OutWidth) + 1));
        const int first = std::min(a.outX, a.outX + a.OutWidth);
        for (size_t k = 0; k < plan.size(); ++k) {
            EXPECT_EQ(plan[k].x, first + int(k));
        }
        for (const auto& [x, top, height, sx] : columns) {
            const LeafColumn& c = plan[size_t(x - first)];
            EXPECT_EQ(std::tuple(c.top, c.height, c.sx), std::tuple(top, height, sx)) << x;
        }
    }
    EXPECT_FLOAT_EQ(Plan(kPlans[0].first)[552 - 375].f, 0.50140846f);  // 1 at the fold
}

TEST(PlanLeaf, NegativeWidthMirrorsPositiveAboutTheFreeEdge) {
    for (const bool direction : {false, true}) {
        for (const int n : {1, 5, 355, 376}) {
            const std::vector<LeafColumn> r = Plan({400, 30, n, 480, 500, 77, 517, direction});
            const std::vector<LeafColumn> l = Plan({400, 30, -n, 480, 500, 77, 517, direction});
            for (int k = 0; k <= n; ++k) {
                const LeafColumn &a = r[size_t(k)], &b = l[size_t(n - k)];
                EXPECT_EQ(std::tuple(a.x - 400, a.f, a.top, a.height, a.sx),
                          std::tuple(400 - b.x, b.f, b.top, b.height, b.sx))
                    << n << " " << k;
            }
        }
    }
}

TEST(FlipSBlt, LeavesPixelsWithoutASourceColumnAsTheyWere) {
    const Args none{100, 0, 0, 500, 500, 188, 300, true};
    EXPECT_TRUE(Plan(none).empty());
    QImage blank(400, 600, QImage::Format_RGB32);
    blank.fill(kKeyColour);
    EXPECT_EQ(Drawn({400, 600}, none, {600, 400}), blank);
    // Source column 600 lies past a 600-column picture, not past a 601-column one.
    const Args a{50, 10, -10, 100, 100, 0, 300, true};
    EXPECT_EQ(Drawn({100, 200}, a, {600, 400}).pixel(50, 60), kKeyColour);
    EXPECT_NE(Drawn({100, 200}, a, {600, 400}).pixel(49, 60), kKeyColour);
    EXPECT_NE(Drawn({100, 200}, a, {601, 400}).pixel(50, 60), kKeyColour);
}

}  // namespace
}  // namespace leafsong
