#include "flip/frame.h"

#include <gtest/gtest.h>

#include <array>

namespace leafsong {
namespace {

// No decorations; odd widths: the halves of 601 are 300 columns, those of 603 are 302.
class Frame : public ::testing::Test {
protected:
    QImage Draw(int FlipPos, bool Reverse) {
        Surface surface({1920, 1080});
        Blting(surface, book, deco, Pic1, Pic2, FlipPos, Reverse);
        return surface.image();
    }
    const BookGeometry book = PlaceBook(1920, 1080);
    Decorations deco;
    const PageBuffer Pic1 = Pattern(1, {601, 400});
    const PageBuffer Pic2 = Pattern(2, {603, 400});

    // Each stored pixel tells its buffer and column, with a bit the key colour lacks.
    static PageBuffer Pattern(int id, QSize size) {
        PageBuffer pic;
        pic.LoadEmpty(size);
        for (int i = 0; i < size.width() * size.height(); ++i) {
            pic.pixels().setPixel(i % size.width(), i / size.width(),
                                  0xff800000u | id << 19 | i % size.width());
        }
        return pic;
    }
    static int IdOf(QRgb p) { return p & 0x800000 ? int(p >> 19 & 3) : 0; }
    static int ColumnOf(QRgb p) { return int(p & 1023); }
};

TEST_F(Frame, TellingFrames) {
    // FlipPos, Lift, leaf width: forward frames, then backward ones at 750 minus those. The leaf
    // shows the lifted page (Reverse) while its free edge is right of the spine.
    const std::array<int, 3> rows[] = {
        {750, 0, -375},  {730, 16, -355}, {550, 140, -175}, {390, 188, -15}, {370, 188, 5},
        {190, 134, 185}, {30, 24, 345},   {0, 0, 375},      {20, 16, 355},   {200, 140, 175},
        {360, 188, 15},  {380, 188, -5},  {560, 134, -185}, {720, 24, -345}};
    const int spine = book.BookLeft + 375, middle = book.BookTop + 250;
    for (const auto& [FlipPos, Lift, width] : rows) {
        SCOPED_TRACE(FlipPos);
        const int edge = book.BookLeft + FlipPos;
        const bool Reverse = width < 0;
        const LeafGeometry g = LeafAt(book, FlipPos);
        EXPECT_EQ(std::tuple(g.Lift, g.width, g.edgeX, g.top),
                  std::tuple(Lift, width, edge, book.BookTop - Lift));
        const QImage img = Draw(FlipPos, Reverse);
        // The leaf shows Pic1's right half when Reverse, else Pic2's left half (whose fold column
        // is also the right page's first).
        auto isLeaf = [&](int x, int y) {
            const QRgb p = img.pixel(x, y);
            return Reverse ? IdOf(p) == 1 && ColumnOf(p) >= 300
                           : IdOf(p) == 2 && ColumnOf(p) <= 302;
        };
        std::vector<int> leaf;
        for (int x = book.BookLeft - 10; x < book.BookLeft + 760; ++x) {
            if (isLeaf(x, middle)) {
                leaf.push_back(x);
            }
        }
        ASSERT_EQ(leaf.size(), size_t(std::abs(width) + 1));
        EXPECT_EQ(leaf.front(), std::min(edge, spine));
        EXPECT_EQ(leaf.back(), std::max(edge, spine));
        EXPECT_FALSE(isLeaf(edge, book.BookTop - Lift - 1));
        EXPECT_TRUE(isLeaf(edge, book.BookTop - Lift));
        // The free edge shows the half's outer column, the fold its middle one.
        EXPECT_EQ(ColumnOf(img.pixel(edge, middle)), Reverse ? 600 : 0);
        EXPECT_EQ(ColumnOf(img.pixel(spine, middle)), Reverse ? 300 : 302);
    }
}

TEST_F(Frame, AtTheSpineNoLeafIsDrawnAndOddWidthsSplitAtTheRoundedHalf) {
    for (const bool Reverse : {false, true}) {
        const QImage img = Draw(375, Reverse);
        const QRect area = TurnArea(book);
        for (int i = 0; i < area.width() * (book.BookTop - area.top()); ++i) {
            ASSERT_EQ(img.pixel(area.left() + i % area.width(), area.top() + i / area.width()),
                      kKeyColour);
        }
        for (int y = book.BookTop; y < book.BookTop + book.BookHeight; y += 7) {
            for (int x = 0; x < 749; ++x) {
                const QRgb p = img.pixel(book.BookLeft + x, y);
                ASSERT_EQ(IdOf(p), x < 375 ? 1 : 2) << x;
                ASSERT_TRUE(x < 375 ? ColumnOf(p) < 300 : ColumnOf(p) >= 302) << x;
            }
        }
        EXPECT_EQ(ColumnOf(img.pixel(book.BookLeft + 374, book.BookTop)), 299);
        EXPECT_EQ(ColumnOf(img.pixel(book.BookLeft + 375, book.BookTop)), 302);
    }
}

TEST(LeafAt, LiftUsesPiAsAFloatHoldsIt) {
    // Books where the full pi or 3.14159 would move the lift by a pixel; ties in the width.
    const std::tuple<BookGeometry, int, int, int> rows[] = {
        {{10, 300, 300, 200, 275}, 250, 38, -100},  // pi: 37
        {{10, 300, 108, 72, 99}, 90, 14, -36},      // pi: 13
        {{10, 300, 212, 141, 194}, 181, 23, -75},   // 3.14159: 24
        {{10, 300, 751, 501, 688}, 0, 0, 376},      // 375.5
        {{10, 300, 751, 501, 688}, 1, 1, 374}};     // 374.5
    for (const auto& [book, FlipPos, Lift, width] : rows) {
        const LeafGeometry g = LeafAt(book, FlipPos);
        EXPECT_EQ(std::pair(g.Lift, g.width), std::pair(Lift, width)) << book.BookWidth;
    }
}

TEST(HalfWidth, OddWidthsGiveBothHalvesTheRoundedWidth) {
    for (const auto& [width, half] : {std::pair(1001, 500), {1003, 502}, {600, 300}, {1, 0}}) {
        PageBuffer pic;
        pic.LoadEmpty({width, 10});
        EXPECT_EQ(HalfWidth(pic), half) << width;
    }
}

}  // namespace
}  // namespace leafsong
