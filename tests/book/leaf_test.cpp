#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "book/frame.h"
#include "book/strip_warp.h"

namespace leafsong {
namespace {

using LeafArgs = std::tuple<int, int, int, int, int, int, int, bool>;
// PlanLeaf's arguments (outX, outY, OutWidth, outStartHeight, outEndHeight, outYOff, inWidth,
// Direction) and some of the columns: x, top, height, source column.
// clang-format off
const std::pair<LeafArgs, std::vector<std::array<int, 4>>> kPlans[] = {
    // Forward frames at FlipPos 730 and 370 over a 1000 x 667 picture.
    {{730, 84, -355, 500, 500, 16, 500, true}, {{375, 100, 500, 500}, {552, 67, 500, 749}}},
    {{370, -88, 5, 500, 500, 188, 500, false}, {{371, -65, 500, 100}, {373, 1, 500, 300}}},
    {{10, 20, -1, 500, 500, 40, 300, false}, {{9, 60, 500, 300}, {10, 20, 500, 0}}},
    // The arch uses 3.14159 (with the full pi the top at 365 is 97).
    {{30, 76, 345, 500, 500, 24, 500, false},
     {{363, 96, 500, 483}, {364, 96, 500, 484}, {365, 97, 500, 486}}},
    // Positions held in float: in double 1/40 and 7/40 give 12.5 and 87.5.
    {{0, 0, 40, 500, 500, 0, 500, false}, {{1, -2, 500, 13}, {7, -13, 500, 87}}},
    // Ties round to even: source 166.5 and 499.5, tops -22.5 and -21.5, height 102.5.
    {{0, 0, 2, 500, 500, 5, 333, false}, {{1, -22, 500, 166}}},
    {{0, 1, 2, 500, 500, 5, 333, true}, {{0, 1, 500, 666}, {1, -22, 500, 500}, {2, 6, 500, 333}}},
    {{0, 50, 2, 100, 105, 0, 300, false}, {{1, 45, 102, 150}}},
    // Height grows towards the fold; the arch follows the fold's height.
    {{0, 50, 4, 100, 200, 0, 300, false},
     {{0, 50, 100, 0}, {1, 43, 125, 75}, {2, 40, 150, 150}, {3, 43, 175, 225}, {4, 50, 200, 300}}},
    {{100, 0, 0, 500, 500, 188, 300, true}, {}},  // no width, no column
};
// clang-format on

TEST(StripWarp, WorkedColumns) {
    for (const auto& [args, columns] : kPlans) {
        const int outX = std::get<0>(args), OutWidth = std::get<2>(args);
        SCOPED_TRACE(testing::Message() << outX << " " << OutWidth);
        const std::vector<LeafColumn> plan = std::apply(PlanLeaf, args);
        ASSERT_EQ(plan.size(), OutWidth == 0 ? 0 : size_t(std::abs(OutWidth) + 1));
        const int first = std::min(outX, outX + OutWidth);
        for (const auto& [x, top, height, sx] : columns) {
            const LeafColumn& c = plan[size_t(x - first)];
            EXPECT_EQ(std::tuple(c.x, c.top, c.height, c.sx), std::tuple(x, top, height, sx));
        }
    }
}

TEST(Frame, LiftUsesPiAsAFloatHoldsIt) {
    // The full pi would lift these leaves 37 and 13 pixels, 3.14159 the last one 24.
    EXPECT_EQ(std::tuple(LeafAt({10, 300, 300, 200, 275}, 250).Lift,
                         LeafAt({10, 300, 108, 72, 99}, 90).Lift,
                         LeafAt({10, 300, 212, 141, 194}, 181).Lift),
              std::tuple(38, 14, 23));
}

TEST(Frame, TellingFrames) {
    // Each stored pixel tells its buffer and column, with a bit the key colour lacks. Odd widths:
    // the halves of 601 are 300 columns, those of 603 are 302. No decorations.
    auto pattern = [](int id, int width) {
        PageBuffer pic;
        pic.LoadEmpty({width, 400});
        for (int i = 0; i < width * 400; ++i) {
            pic.pixels().setPixel(i % width, i / width, 0xff800000u | id << 19 | i % width);
        }
        return pic;
    };
    const PageBuffer Pic1 = pattern(1, 601), Pic2 = pattern(2, 603);
    auto id = [](QRgb p) { return p & 0x800000 ? int(p >> 19 & 3) : 0; };
    auto column = [](QRgb p) { return int(p & 1023); };
    const BookGeometry book = PlaceBook(1920, 1080);
    const int spine = book.BookLeft + 375, middle = book.BookTop + 250;
    // FlipPos, Lift, leaf width: forward and backward frames, and free edges outside the book.
    const std::array<int, 3> rows[] = {
        {750, 0, -375},   {730, 16, -355}, {550, 140, -175},  {390, 188, -15},
        {370, 188, 5},    {190, 134, 185}, {30, 24, 345},     {0, 0, 375},
        {20, 16, 355},    {200, 140, 175}, {360, 188, 15},    {380, 188, -5},
        {560, 134, -185}, {720, 24, -345}, {-400, -187, 775}, {1150, -187, -775}};
    for (const auto& [FlipPos, Lift, width] : rows) {
        SCOPED_TRACE(FlipPos);
        const int edge = book.BookLeft + FlipPos;
        const bool Reverse = width < 0;  // the free edge is right of the spine
        QRect changed;
        Surface surface({1920, 1080}, [&](const QRect& r) { changed = r; });
        surface.Present();
        const LeafGeometry g = Blting(surface, book, {}, Pic1, Pic2, FlipPos, Reverse);
        surface.Present();
        EXPECT_EQ(std::tuple(g.Lift, g.width, g.edgeX, g.top),
                  std::tuple(Lift, width, edge, book.BookTop - Lift));
        const QImage& img = surface.image();
        // The leaf shows Pic1's right half when Reverse, else Pic2's left half (whose fold column
        // is also the right page's first).
        auto isLeaf = [&](int x, int y) {
            const QRgb p = img.pixel(x, y);
            return Reverse ? id(p) == 1 && column(p) >= 300 : id(p) == 2 && column(p) <= 302;
        };
        QRect drawn, leaf;
        int columns = 0;
        for (int i = 0; i < img.width() * img.height(); ++i) {
            const QPoint p(i % img.width(), i / img.width());
            const bool inLeaf = p.y() == middle && isLeaf(p.x(), p.y());
            drawn |= img.pixel(p) != kKeyColour ? QRect(p, p) : QRect();
            leaf |= inLeaf ? QRect(p, p) : QRect();
            columns += inLeaf ? 1 : 0;
        }
        // Every pixel drawn is reported, also where the leaf leaves the turn's area.
        EXPECT_TRUE(changed.contains(drawn));
        EXPECT_TRUE(TurnArea(book).contains(drawn) || FlipPos < 0 || FlipPos > 750);
        EXPECT_EQ(std::tuple(columns, leaf.left(), leaf.right()),
                  std::tuple(std::abs(width) + 1, std::min(edge, spine), std::max(edge, spine)));
        EXPECT_EQ(std::pair(isLeaf(edge, g.top - 1), isLeaf(edge, g.top)), std::pair(false, true));
        // The free edge shows the half's outer column, the fold its middle one; beside the fold
        // lies the last column of the still page's half.
        const QRgb beside = img.pixel(Reverse ? spine - 1 : spine + 1, middle);
        EXPECT_EQ(std::tuple(column(img.pixel(edge, middle)), column(img.pixel(spine, middle)),
                             id(beside), column(beside)),
                  Reverse ? std::tuple(600, 300, 1, 299) : std::tuple(0, 302, 2, 303));
    }
}

}  // namespace
}  // namespace leafsong
