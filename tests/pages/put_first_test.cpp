#include "pages/put_first.h"

#include <gtest/gtest.h>

#include <QFile>

#include "support/temp_folder.h"

namespace leafsong {
namespace {

bool HasColour(const QImage& img, const QRect& area, QRgb colour, int tolerance = 40) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = img.pixel(x, y);
            if (std::abs(qRed(p) - qRed(colour)) + std::abs(qGreen(p) - qGreen(colour)) +
                    std::abs(qBlue(p) - qBlue(colour)) <=
                tolerance) {
                return true;
            }
        }
    }
    return false;
}

class PutFirstTest : public ::testing::Test {
protected:
    PutFirstTest() : surface(QSize(1024, 768)) {
        deco.LoadFrom(QStringLiteral(":/leafsong"));
        state.book = PlaceBook(1024, 768);
    }

    void Run(const QString& folder, QDate day = {2026, 3, 1}) {
        FixedClock clock(day);
        File1.SetPath(folder);
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
    Surface surface;
    Marks marks;
    Modes modes;
};

TEST_F(PutFirstTest, EmptyFolderShowsTheInformationPage) {
    state.PageIndex = 5;
    Run(dir.path());
    EXPECT_EQ(state.PageIndex, 0);
    EXPECT_EQ(Pic1.logicalSize(), QSize(750, 500));
    EXPECT_EQ(Pic2.pixels(), Pic1.pixels());
    // Grey bold text from a quarter of the height down, on the empty page's background.
    EXPECT_TRUE(HasColour(Pic1.pixels(), QRect(150, 125, 450, 40), kGreyText, 60));
    EXPECT_FALSE(HasColour(Pic1.pixels(), QRect(0, 0, 750, 120), kGreyText, 60));
    EXPECT_EQ(Pic1.pixels().pixel(60, 60), qRgb(240, 240, 240));
    // Copied 1:1 into the book.
    EXPECT_EQ(BookPixel(60, 60), qRgb(240, 240, 240));
    EXPECT_EQ(surface.image().pixel(5, 5), kKeyColour);
    EXPECT_EQ(surface.presentCount(), 1);
}

TEST_F(PutFirstTest, GreetingLineOnlyOnTheGreetingDate) {
    Run(dir.path(), {2026, 6, 5});
    const QImage birthday = Pic1.pixels();
    Run(dir.path(), {2026, 6, 6});
    const QImage ordinary = Pic1.pixels();
    const QRgb magenta = qRgb(255, 0, 255);
    EXPECT_TRUE(HasColour(birthday, QRect(150, 150, 500, 40), magenta, 60));
    EXPECT_FALSE(HasColour(ordinary, QRect(0, 0, 750, 500), magenta, 60));
    // The lines below the greeting stand at the same heights either way.
    EXPECT_EQ(birthday.copy(0, 200, 750, 300), ordinary.copy(0, 200, 750, 300));
    EXPECT_NE(birthday.copy(0, 150, 750, 40), ordinary.copy(0, 150, 750, 40));
}

TEST_F(PutFirstTest, FirstTwoPicturesFillTheBuffers) {
    dir.writePicture(QStringLiteral("a.jpg"), 1600, 400, 0xdd0000);
    dir.writePicture(QStringLiteral("b.BMP"), 300, 900, 0x00aa00);
    dir.writePicture(QStringLiteral("c.jpg"), 100, 100, 0x0000ff);
    Run(dir.path());
    EXPECT_EQ(Pic1.logicalSize(), QSize(1600, 400));
    EXPECT_EQ(Pic2.logicalSize(), QSize(300, 900));
    // Any aspect ratio is stretched over the whole book, inside the white border.
    for (const QPoint p : {QPoint(20, 15), QPoint(729, 15), QPoint(375, 250), QPoint(20, 485)}) {
        const QRgb c = BookPixel(p.x(), p.y());
        EXPECT_GT(qRed(c), 180) << p.x() << "," << p.y();
        EXPECT_LT(qGreen(c), 60);
    }
    // The border whitens the book's edge; the cover lies beside and below it; the rest is clear.
    EXPECT_EQ(BookPixel(2, 250), qRgb(255, 255, 255));
    EXPECT_NE(BookPixel(-5, 250), kKeyColour);
    EXPECT_NE(BookPixel(375, 505), kKeyColour);
    EXPECT_EQ(BookPixel(375, -3), kKeyColour);
    EXPECT_EQ(BookPixel(-30, 250), kKeyColour);
}

TEST_F(PutFirstTest, OnePictureLeavesTheSecondBufferAlone) {
    Pic2.LoadEmpty(QSize(10, 10));
    dir.writePicture(QStringLiteral("only.gif.jpg"), 200, 100);
    Run(dir.path());
    EXPECT_EQ(Pic1.logicalSize(), QSize(200, 100));
    EXPECT_EQ(Pic2.logicalSize(), QSize(10, 10));
}

TEST_F(PutFirstTest, AnUnreadableFirstPictureIsMarkedAway) {
    dir.write(QStringLiteral("a.jpg"), "not a picture");
    dir.writePicture(QStringLiteral("b.jpg"), 200, 100, 0x00ff00);
    Run(dir.path());
    EXPECT_EQ(File1.List(0), QStringLiteral("b.jpg"));
    EXPECT_GT(qGreen(BookPixel(375, 250)), 180);
    EXPECT_TRUE(QFile::exists(dir.path(QStringLiteral("a.(F)jpg"))));
    // The next opening spread gives the name back before testing again.
    Run(dir.path());
    EXPECT_EQ(marks.marked().size(), 1);
    marks.RemoveMark();
    EXPECT_TRUE(QFile::exists(dir.path(QStringLiteral("a.jpg"))));
}

TEST_F(PutFirstTest, AnUntestedUnreadablePictureKeepsWhatWasShown) {
    dir.writePicture(QStringLiteral("d.jpg"), 200, 100, 0x00ff00);
    Run(dir.path());
    surface.image().fill(qRgb(1, 2, 3));
    // Only the first two entries are tested; the third moves up to the front untested.
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
        dir.write(QString::fromLatin1(name), "not a picture");
    }
    Run(dir.path());
    EXPECT_EQ(state.PageIndex, 0);
    EXPECT_EQ(File1.List(0), QStringLiteral("c.jpg"));
    // Not cleared: outside the decorated book the surface keeps what it had.
    EXPECT_EQ(surface.image().pixel(3, 3), qRgb(1, 2, 3));
    // The decorations and the last good page are drawn all the same.
    EXPECT_GT(qGreen(BookPixel(375, 250)), 180);
    EXPECT_EQ(BookPixel(2, 250), qRgb(255, 255, 255));
    marks.RemoveMark();
}

}  // namespace
}  // namespace leafsong
