#include "pages/put_first.h"

#include <gtest/gtest.h>

#include <QFile>
#include <algorithm>

#include "support/temp_folder.h"

namespace leafsong {
namespace {

// Whether a pixel of area has c's top bit in each channel (grey text: none; magenta: no green).
bool HasColour(const QImage& img, const QRect& area, QRgb c) {
    const QImage part = img.copy(area);
    const auto* px = reinterpret_cast<const QRgb*>(part.constBits());
    return std::any_of(px, px + qsizetype(part.width()) * part.height(),
                       [c](QRgb p) { return ((p ^ c) & 0x808080) == 0; });
}

class PutFirstTest : public ::testing::Test {
protected:
    PutFirstTest() {
        deco.LoadFrom(QStringLiteral(":/leafsong"));
        state.book = PlaceBook(1024, 768);
    }
    void Run(QDate day = {2026, 3, 1}) {
        FixedClock clock(day);
        File1.SetPath(dir.path());
        PageServices s{state, File1, Pic1, Pic2, deco, surface, marks, modes, clock};
        PutFirst(s);
    }
    QRgb BookPixel(int x, int y) const {
        return surface.image().pixel(state.book.BookLeft + x, state.book.BookTop + y);
    }

    test::TempFolder dir;
    AlbumState state;
    Listing File1;
    PageBuffer Pic1, Pic2;
    Decorations deco;
    Surface surface{QSize(1024, 768)};
    Marks marks;
    Modes modes;
};

TEST_F(PutFirstTest, AnEmptyFolderShowsTheInformationPageWithAGreetingOnlyOnTheFifthOfJune) {
    Run({2026, 6, 5});
    const QImage birthday = Pic1.pixels();
    state.PageIndex = 5;
    Run({2026, 6, 6});
    const QImage& page = Pic1.pixels();
    EXPECT_EQ(state.PageIndex, 0);
    EXPECT_EQ(Pic1.logicalSize(), QSize(750, 500));
    EXPECT_EQ(Pic2.pixels(), page);
    // Grey text from a quarter of the height down, on the empty page's background, copied 1:1.
    EXPECT_TRUE(HasColour(page, QRect(150, 125, 450, 40), kGreyText));
    EXPECT_FALSE(HasColour(page, QRect(0, 0, 750, 120), kGreyText));
    EXPECT_EQ(BookPixel(60, 60), qRgb(240, 240, 240));
    EXPECT_EQ(surface.image().pixel(5, 5), kKeyColour);
    EXPECT_EQ(surface.presentCount(), 2);
    // The greeting in magenta; the lines below it stand at the same heights either way.
    EXPECT_TRUE(HasColour(birthday, QRect(150, 150, 500, 40), qRgb(255, 0, 255)));
    EXPECT_FALSE(HasColour(page, page.rect(), qRgb(255, 0, 255)));
    EXPECT_EQ(birthday.copy(0, 200, 750, 300), page.copy(0, 200, 750, 300));
}

TEST_F(PutFirstTest, TheFirstTwoPicturesFillTheBuffers) {
    dir.writePicture(QStringLiteral("a.jpg"), 1600, 400, 0xdd0000);
    dir.writePicture(QStringLiteral("b.BMP"), 300, 900, 0x00aa00);
    dir.writePicture(QStringLiteral("c.jpg"), 100, 100, 0x0000ff);
    Run();
    EXPECT_EQ(Pic1.logicalSize(), QSize(1600, 400));
    EXPECT_EQ(Pic2.logicalSize(), QSize(300, 900));
    // Any shape is stretched over the whole book, inside the white border.
    for (const QPoint p : {QPoint(20, 15), QPoint(729, 15), QPoint(375, 250), QPoint(20, 485)}) {
        EXPECT_EQ(BookPixel(p.x(), p.y()) & 0x808080, 0x800000u) << p.x() << "," << p.y();
    }
    // The border whitens the book's edge; the cover lies beside and below it; the rest is clear.
    EXPECT_EQ(BookPixel(2, 250), qRgb(255, 255, 255));
    EXPECT_TRUE(BookPixel(-5, 250) != kKeyColour && BookPixel(375, 505) != kKeyColour);
    EXPECT_TRUE(BookPixel(375, -3) == kKeyColour && BookPixel(-30, 250) == kKeyColour);
}

TEST_F(PutFirstTest, UnreadablePicturesAreMarkedAwayOrKeepWhatWasShown) {
    Pic2.LoadEmpty(QSize(10, 10));
    dir.write(QStringLiteral("a.jpg"), "bad");
    dir.writePicture(QStringLiteral("b.gif.jpg"), 200, 100, 0x00ff00);
    Run();
    // The unreadable first is marked away; a single picture leaves Pic2 as it was.
    EXPECT_EQ(File1.List(0), QStringLiteral("b.gif.jpg"));
    EXPECT_EQ(Pic1.logicalSize(), QSize(200, 100));
    EXPECT_EQ(Pic2.logicalSize(), QSize(10, 10));
    EXPECT_EQ(BookPixel(375, 250) & 0x808080, 0x8000u);
    EXPECT_TRUE(QFile::exists(dir.path(QStringLiteral("a.(F)jpg"))));
    // The next spread gives a its name back and tests only the first two: with two more unreadable
    // ones before it, a moves up untested and the page shown stays, on an uncleared surface.
    dir.write(QStringLiteral("0.jpg"), "bad");
    dir.write(QStringLiteral("1.jpg"), "bad");
    surface.image().fill(qRgb(1, 2, 3));
    Run();
    EXPECT_EQ(marks.marked().size(), 2);
    EXPECT_EQ(File1.List(0), QStringLiteral("a.jpg"));
    EXPECT_EQ(surface.image().pixel(3, 3), qRgb(1, 2, 3));
    EXPECT_EQ(BookPixel(375, 250) & 0x808080, 0x8000u);
    EXPECT_EQ(BookPixel(2, 250), qRgb(255, 255, 255));
}

}  // namespace
}  // namespace leafsong
