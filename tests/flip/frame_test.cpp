#include "flip/frame.h"

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <optional>
#include <vector>

#include "flip/page_pattern.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

using test::PatternBuffer;
using test::SourceOf;

constexpr QRgb kCoverColour = qRgb(60, 120, 30);
constexpr QRgb kMarker = qRgb(1, 2, 3);

// Odd widths on purpose: the halves of 601 are 300 columns, those of 603 are 302.
constexpr int kHalf1 = 300;
constexpr int kHalf2 = 302;

class Frame : public ::testing::Test {
protected:
    void SetUp() override {
        QImage cover(40, 30, QImage::Format_ARGB32);
        cover.fill(kCoverColour);
        ASSERT_TRUE(cover.save(tmp_.path(QStringLiteral("PageCover.png")), "PNG"));
        deco_.LoadFrom(tmp_.path());
        ASSERT_TRUE(deco_.CoverPng.isLoaded());
    }

    QImage Draw(int FlipPos, bool Reverse, std::optional<BookGeometry> at = {},
                QSize size = {1920, 1080}) {
        Surface surface(size);
        Blting(surface, at.value_or(book_), deco_, Pic1_, Pic2_, FlipPos, Reverse);
        return surface.image();
    }

    // Whether a pixel shows the side of the turn that only the leaf shows (the leaf's fold
    // column of Pic2's left half is also the right page's first column).
    static bool IsLeaf(QRgb p, bool Reverse) {
        const test::PatternSource s = SourceOf(p);
        return Reverse ? s.id == 1 && s.x >= kHalf1 : s.id == 2 && s.x <= kHalf2;
    }

    test::TempFolder tmp_;
    Decorations deco_;
    const BookGeometry book_ = PlaceBook(1920, 1080);
    const PageBuffer Pic1_ = PatternBuffer(1, {601, 400});
    const PageBuffer Pic2_ = PatternBuffer(2, {603, 400});
};

struct TellingFrame {
    int FlipPos;
    bool Reverse;
    int Lift;
    int width;
};

void PrintTo(const TellingFrame& t, std::ostream* os) {
    *os << "FlipPos " << t.FlipPos << (t.Reverse ? " Reverse" : "");
}

class TellingFrames : public Frame, public ::testing::WithParamInterface<TellingFrame> {};

TEST_P(TellingFrames, LiftWidthAndSideShown) {
    const TellingFrame& t = GetParam();
    const LeafGeometry g = LeafAt(book_, t.FlipPos);
    EXPECT_EQ(g.Lift, t.Lift);
    EXPECT_EQ(g.width, t.width);
    EXPECT_EQ(g.edgeX, book_.BookLeft + t.FlipPos);
    EXPECT_EQ(g.top, book_.BookTop - t.Lift);

    const QImage img = Draw(t.FlipPos, t.Reverse);
    const int edge = book_.BookLeft + t.FlipPos;
    const int spine = book_.BookLeft + 375;

    // Across the middle of the book the leaf runs from its free edge to the spine.
    const int middle = book_.BookTop + 250;
    std::vector<int> leafColumns;
    for (int x = book_.BookLeft - 10; x < book_.BookLeft + 760; ++x) {
        if (IsLeaf(img.pixel(x, middle), t.Reverse)) {
            leafColumns.push_back(x);
        }
    }
    ASSERT_EQ(leafColumns.size(), static_cast<size_t>(std::abs(t.width) + 1));
    EXPECT_EQ(leafColumns.front(), std::min(edge, spine));
    EXPECT_EQ(leafColumns.back(), std::max(edge, spine));

    // The free edge is raised by Lift and shows the half's outer column; the fold meets the
    // book's top at the spine and shows the middle column.
    auto topOf = [&](int x) {
        int y = 0;
        while (y < img.height() && !IsLeaf(img.pixel(x, y), t.Reverse)) {
            ++y;
        }
        return y;
    };
    EXPECT_EQ(topOf(edge), book_.BookTop - t.Lift);
    EXPECT_EQ(img.pixel(edge, topOf(edge) - 1), kKeyColour);
    EXPECT_EQ(SourceOf(img.pixel(edge, middle)).x, t.Reverse ? 2 * kHalf1 : 0);
    EXPECT_EQ(topOf(spine), book_.BookTop);
    EXPECT_EQ(SourceOf(img.pixel(spine, middle)).x, t.Reverse ? kHalf1 : kHalf2);

    // Beside the leaf the still pages: Pic1's left half on the left, Pic2's right half on the
    // right.
    if (leafColumns.front() > book_.BookLeft) {
        const test::PatternSource s = SourceOf(img.pixel(book_.BookLeft, middle));
        EXPECT_EQ(s.id, 1);
        EXPECT_EQ(s.x, 0);
    }
    if (leafColumns.back() < book_.BookLeft + 745) {
        const test::PatternSource s = SourceOf(img.pixel(book_.BookLeft + 745, middle));
        EXPECT_EQ(s.id, 2);
        EXPECT_GT(s.x, kHalf2);
    }
}

// Forward frames, then the backward ones at 750 minus the forward positions.
INSTANTIATE_TEST_SUITE_P(
    Frames, TellingFrames,
    ::testing::Values(TellingFrame{750, true, 0, -375}, TellingFrame{730, true, 16, -355},
                      TellingFrame{550, true, 140, -175}, TellingFrame{390, true, 188, -15},
                      TellingFrame{370, false, 188, 5}, TellingFrame{190, false, 134, 185},
                      TellingFrame{30, false, 24, 345}, TellingFrame{0, false, 0, 375},
                      TellingFrame{20, false, 16, 355}, TellingFrame{200, false, 140, 175},
                      TellingFrame{360, false, 188, 15}, TellingFrame{380, true, 188, -5},
                      TellingFrame{560, true, 134, -185}, TellingFrame{720, true, 24, -345}));

struct LiftCase {
    BookGeometry book;
    int FlipPos;
    int Lift;
    int width;
};

TEST(LeafAt, LiftUsesPiAsAFloatHoldsIt) {
    // Books of other sizes where the full pi or 3.14159 would move the lift by a pixel, and odd
    // widths whose leaf width is a tie.
    const LiftCase cases[] = {
        {{10, 300, 300, 200, 275}, 250, 38, -100},  // pi: 37
        {{10, 300, 108, 72, 99}, 90, 14, -36},      // pi: 13
        {{10, 300, 212, 141, 194}, 181, 23, -75},   // 3.14159: 24
        {{10, 300, 751, 501, 688}, 0, 0, 376},      // 375.5
        {{10, 300, 751, 501, 688}, 1, 1, 374},      // 374.5
    };
    for (const LiftCase& c : cases) {
        const LeafGeometry g = LeafAt(c.book, c.FlipPos);
        EXPECT_EQ(g.Lift, c.Lift) << c.book.BookWidth << " at " << c.FlipPos;
        EXPECT_EQ(g.width, c.width) << c.book.BookWidth << " at " << c.FlipPos;
        EXPECT_EQ(g.top, 300 - c.Lift);
        EXPECT_EQ(g.edgeX, 10 + c.FlipPos);
    }
}

TEST(HalfWidth, OddWidthsGiveBothHalvesTheRoundedWidth) {
    const std::pair<int, int> cases[] = {{1001, 500}, {1003, 502}, {601, 300},
                                         {603, 302},  {600, 300},  {1, 0}};
    for (const auto& [width, half] : cases) {
        PageBuffer pic;
        pic.LoadEmpty({width, 10});
        EXPECT_EQ(HalfWidth(pic), half) << width;
    }
}

TEST_F(Frame, AtTheSpineNoLeafIsDrawn) {
    for (const bool Reverse : {false, true}) {
        const QImage img = Draw(375, Reverse);
        // The leaf would stand 188 pixels tall there; the band above the book stays clear.
        const QRect area = TurnArea(book_);
        for (int y = area.top(); y < book_.BookTop; ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                ASSERT_EQ(img.pixel(x, y), kKeyColour) << x << "," << y;
            }
        }
        for (int y = book_.BookTop; y < book_.BookTop + book_.BookHeight; y += 7) {
            for (int x = 0; x < 375; ++x) {
                const test::PatternSource s = SourceOf(img.pixel(book_.BookLeft + x, y));
                ASSERT_EQ(s.id, 1);
                ASSERT_LT(s.x, kHalf1);
            }
            for (int x = 375; x < 749; ++x) {
                const test::PatternSource s = SourceOf(img.pixel(book_.BookLeft + x, y));
                ASSERT_EQ(s.id, 2);
                ASSERT_GE(s.x, kHalf2);
            }
        }
    }
}

TEST_F(Frame, OddWidthsSplitAtTheRoundedHalf) {
    const QImage img = Draw(375, true);
    const int y = book_.BookTop + 100;
    EXPECT_EQ(SourceOf(img.pixel(book_.BookLeft, y)).x, 0);
    EXPECT_EQ(SourceOf(img.pixel(book_.BookLeft + 374, y)).x, kHalf1 - 1);
    EXPECT_EQ(SourceOf(img.pixel(book_.BookLeft + 375, y)).x, kHalf2);
    // The right page's source, 302 columns from 302, ends one column past the 603-column
    // picture: its last column keeps the cover.
    EXPECT_EQ(SourceOf(img.pixel(book_.BookLeft + 748, y)).x, 602);
    EXPECT_EQ(img.pixel(book_.BookLeft + 749, y), kCoverColour);
}

TEST_F(Frame, CoverLiesUnderThePagesAndTheLeaf) {
    const QImage img = Draw(750, true);
    EXPECT_EQ(img.pixel(book_.BookLeft - 5, book_.BookTop + 250), kCoverColour);
    EXPECT_EQ(img.pixel(book_.BookLeft + 100, book_.BookTop + 505), kCoverColour);
    EXPECT_EQ(img.pixel(book_.BookLeft - 11, book_.BookTop + 250), kKeyColour);
    EXPECT_EQ(img.pixel(book_.BookLeft + 100, book_.BookTop + 510), kKeyColour);
    EXPECT_EQ(SourceOf(img.pixel(book_.BookLeft + 100, book_.BookTop + 100)).id, 1);
    // The flat leaf reaches one column past the book, over the cover's margin.
    EXPECT_EQ(SourceOf(img.pixel(book_.BookLeft + 750, book_.BookTop + 250)).x, 600);
    EXPECT_EQ(img.pixel(book_.BookLeft + 751, book_.BookTop + 250), kCoverColour);
}

TEST_F(Frame, FlatLeafArchesAboveTheBookAndUncoversThePageBelow) {
    const QImage img = Draw(750, true);
    const int x = book_.BookLeft + 562;  // the middle of the leaf
    EXPECT_EQ(img.pixel(x, book_.BookTop - 26), kKeyColour);
    EXPECT_TRUE(IsLeaf(img.pixel(x, book_.BookTop - 25), true));
    EXPECT_TRUE(IsLeaf(img.pixel(x, book_.BookTop + 474), true));
    for (int y = book_.BookTop + 475; y < book_.BookTop + 500; ++y) {
        EXPECT_EQ(SourceOf(img.pixel(x, y)).id, 2) << y;  // the right page underneath
    }
}

TEST_F(Frame, LeafAboveTheSurfaceIsClippedNotMoved) {
    // On an 800 x 600 surface the book's top is 125: the upright leaf reaches 63 rows above it.
    const BookGeometry small = PlaceBook(800, 600);
    ASSERT_EQ(small.BookTop, 125);
    BookGeometry lower = small;
    lower.BookTop += 100;
    const QImage clipped = Draw(390, true, small, {800, 600});
    const QImage whole = Draw(390, true, lower, {800, 700});
    EXPECT_TRUE(IsLeaf(clipped.pixel(small.BookLeft + 390, 0), true));
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            ASSERT_EQ(clipped.pixel(x, y), whole.pixel(x, y + 100)) << x << "," << y;
        }
    }
}

TEST_F(Frame, ChangesOnlyTheTurnAreaAndReportsIt) {
    QRect presented;
    Surface surface({1920, 1080}, [&](const QRect& r) { presented = r; });
    surface.image().fill(kMarker);
    surface.Present();
    Blting(surface, book_, deco_, Pic1_, Pic2_, 390, true);
    surface.Present();
    const QRect area = TurnArea(book_);
    const QImage& img = surface.image();
    for (int y = 0; y < img.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const bool inArea = area.contains(x, y);
            ASSERT_EQ(line[x] == kMarker, !inArea) << x << "," << y;
            ASSERT_TRUE(!inArea || presented.contains(x, y)) << x << "," << y;
        }
    }
}

TEST_F(Frame, NextFrameLeavesNothingOfThePreviousOne) {
    Surface surface({1920, 1080});
    Blting(surface, book_, deco_, Pic1_, Pic2_, 390, true);
    Blting(surface, book_, deco_, Pic1_, Pic2_, 750, true);
    EXPECT_EQ(surface.image(), Draw(750, true));
}

}  // namespace
}  // namespace leafsong
