#include "book/book.h"

#include <gtest/gtest.h>

#include <QtCore/qtestsupport_core.h>
#include <QDir>
#include <QPainter>
#include <algorithm>
#include <chrono>

#include "book/footer.h"
#include "book/opening_spread.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

using std::chrono::steady_clock;

// Whether a pixel of area has c's top bit in each channel (grey text: none; magenta: no green).
bool HasColour(const QImage& img, const QRect& area, QRgb c) {
    const QImage part = img.copy(area);
    const auto* px = reinterpret_cast<const QRgb*>(part.constBits());
    return std::any_of(px, px + qsizetype(part.width()) * part.height(),
                       [c](QRgb p) { return ((p ^ c) & 0x808080) == 0; });
}

const QRgb kColours[] = {0xdc1414, 0x14c814, 0x1414dc, 0xdcdc14};

// The frames of a turn: the free edge 20 further each time, from the right edge to 15 short of the
// left one (or back); the leaf shows the lifted page until the free edge has passed the spine.
std::vector<std::pair<int, bool>> Turned(bool forward) {
    std::vector<std::pair<int, bool>> steps(37);
    for (size_t k = 0; k < steps.size(); ++k) {
        steps[k] = {forward ? 750 - 20 * int(k) : 20 * int(k), forward ? k < 19 : k >= 19};
    }
    return steps;
}

class BookTest : public ::testing::Test {
protected:
    BookTest() {
        state.book = PlaceBook(1024, 768);
        book.LoadDecorations();
        // As the album binds it: automatic turning toggled, here always backward.
        book.onEndRule = [this] {
            state.AutoFlip = !state.AutoFlip;
            book.FlipPage(1);
        };
        book.beep = [this] { ++beeps; };
        book.turner().onFrame = [this](int pos, bool reverse) {
            frames.emplace_back(pos, reverse);
            leaf.push_back(BookPixel(600, 250));  // on the leaf while it is right of the spine
        };
    }
    ~BookTest() override { book.Close(); }

    void Open(int n, bool loop = false) {
        for (int i = 0; i < n; ++i) {
            dir.writePicture(QStringLiteral("%1.jpg").arg(i), 600, 400, kColours[i]);
        }
        modes.loop = loop;
        book.OpenFolder(dir.path());
        WaitForLayout();
    }
    // Pictures are decoded off the event loop: a layout is complete only later.
    void WaitForLayout() {
        ASSERT_TRUE(QTest::qWaitFor([&] { return book.laidOut(); }, 10000));
    }
    void LayOut() {
        book.PutFirst();
        WaitForLayout();
    }
    void Turn(bool forward) {
        frames.clear();
        forward ? book.FlipForward() : book.FlipBackward();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !book.turner().turning(); }, 10000));
    }
    // The colour of the picture on a page (each channel's top bit, off the footer).
    static QRgb Colour(const PageBuffer& page) { return page.pixels().pixel(200, 250) & 0x808080; }
    QRgb BookPixel(int x, int y) const {
        return surface.image().pixel(state.book.BookLeft + x, state.book.BookTop + y);
    }
    // The album is at page and shows kColours[colour] (each channel's top bit) off the decorations.
    void ExpectAt(int page, int colour) {
        EXPECT_EQ(state.PageIndex, page);
        EXPECT_EQ(BookPixel(200, 250) & 0x808080, kColours[colour] & 0x808080);
    }
    std::string Files() const {
        return QDir(dir.path()).entryList(QDir::Files, QDir::Name).join(u' ').toStdString();
    }

    test::TempFolder dir;
    AlbumState state;
    Modes modes;
    Surface surface{QSize(1024, 768)};
    FixedClock clock{QDate(2026, 6, 6)};
    Book book{state, modes, surface, clock};
    std::vector<std::pair<int, bool>> frames;  // FlipPos, Reverse
    std::vector<QRgb> leaf;
    int beeps = 0;
};

TEST_F(BookTest, AnEmptyFolderShowsTheInformationPageWithAGreetingOnlyOnTheFifthOfJune) {
    const FixedClock june5(QDate(2026, 6, 5));
    Book greeting{state, modes, surface, june5};
    greeting.OpenFolder(dir.path());
    const QImage birthday = greeting.Pic1().pixels();
    state.PageIndex = 5;
    book.OpenFolder(dir.path());
    EXPECT_TRUE(book.laidOut()) << "an empty folder decodes nothing";
    const QImage& page = book.Pic1().pixels();
    EXPECT_EQ(std::tuple(state.PageIndex, book.Pic1().logicalSize(), book.Pic2().pixels()),
              std::tuple(qint16(0), QSize(750, 500), page));
    // Grey text from a quarter of the height down; the page is shown 1:1.
    EXPECT_TRUE(HasColour(page, QRect(150, 125, 450, 40), kGreyText));
    EXPECT_FALSE(HasColour(page, QRect(0, 0, 750, 120), kGreyText));
    EXPECT_EQ(surface.image().copy(state.book.rect().adjusted(40, 40, -40, -40)),
              page.copy(40, 40, 670, 420));
    // The greeting in magenta; the lines below it stand at the same heights either way.
    EXPECT_TRUE(HasColour(birthday, QRect(150, 150, 500, 40), qRgb(255, 0, 255)));
    EXPECT_FALSE(HasColour(page, page.rect(), qRgb(255, 0, 255)));
    EXPECT_EQ(birthday.copy(0, 200, 750, 300), page.copy(0, 200, 750, 300));
}

TEST_F(BookTest, OpeningSpreadsHideUnreadablePicturesUntilTwoAreReadableAndFillTheWholeBook) {
    for (const char* bad : {"0.jpg", "1.jpg", "a.jpg"}) {
        dir.write(QString::fromLatin1(bad), "not a picture");
    }
    dir.writePicture(QStringLiteral("b.jpg"), 1600, 400, kColours[2]);
    dir.write(QStringLiteral("b2.gif"), "GIF89a, cut short");
    dir.writePicture(QStringLiteral("c.BMP"), 300, 900, kColours[1]);
    modes.footer = true;
    book.OpenFolder(dir.path());
    EXPECT_FALSE(book.laidOut()) << "the pictures are decoded off the event loop";
    WaitForLayout();
    // The files are untouched; the unreadable ones are out of the listing and of its count.
    EXPECT_EQ(Files(), "0.jpg 1.jpg a.jpg b.jpg b2.gif c.BMP");
    EXPECT_EQ(std::tuple(book.Count(), book.File1().List(0), Colour(book.Pic2())),
              std::tuple(2, QStringLiteral("b.jpg"), kColours[1] & 0x808080));
    // b fills the whole book, framed, on the cover; its footer counts the two readable pictures.
    EXPECT_EQ(std::pair(BookPixel(20, 15) & 0x808080, BookPixel(729, 485) & 0x808080),
              std::pair(0x80u, 0x80u));
    EXPECT_TRUE(BookPixel(2, 250) == qRgb(255, 255, 255) && BookPixel(-5, 250) != kKeyColour);
    PageBuffer expected;
    ASSERT_TRUE(expected.Load(dir.path(QStringLiteral("b.jpg"))));
    MarkFooter(true, expected, 0, 2);
    EXPECT_EQ(book.Pic1().pixels(), expected.pixels());
    // The page is shown 1:1: its number reads on the book as it was written.
    const QRect footer(640, 425, 70, 40);
    EXPECT_EQ(surface.image().copy(footer.translated(state.book.rect().topLeft())),
              expected.pixels().copy(footer));
    // Hidden for the rest of the run, even once readable; a single picture leaves Pic2 as it was
    // and turns to itself in loop mode.
    dir.writePicture(QStringLiteral("a.jpg"), 64, 64, kColours[0]);
    QFile::remove(dir.path(QStringLiteral("c.BMP")));
    LayOut();
    EXPECT_EQ(std::pair(book.Count(), Colour(book.Pic2())), std::pair(1, kColours[1] & 0x808080));
    modes.loop = true;
    for (const bool forward : {true, false}) {
        Turn(forward);
        EXPECT_EQ(frames, Turned(forward));
        ExpectAt(0, 2);
    }
}

// With proportions kept a portrait's circle stays round, on white paper either side; the mode
// counts from the next picture drawn, and stretched the circle is twice as wide as high.
TEST_F(BookTest, KeptProportionsKeepACircleRoundFromTheNextPictureDrawn) {
    QImage portrait(3000, 4000, QImage::Format_RGB32);
    portrait.fill(Qt::white);
    QPainter painter(&portrait);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QPoint(1500, 2000), 1000, 1000);
    painter.end();
    ASSERT_TRUE(portrait.save(dir.path(QStringLiteral("a.png"))) &&
                portrait.save(dir.path(QStringLiteral("b.jpg"))));
    const auto ink = [](const QImage& page) {
        QRect r;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                r |= qGray(page.pixel(x, y)) < 128 ? QRect(x, y, 1, 1) : QRect();
            }
        }
        return r;
    };
    modes.proportions = true;
    book.OpenFolder(dir.path());
    WaitForLayout();
    // 3000 x 4000 fits as 375 x 500: the circle is 250 across, centred.
    const QRect round = ink(book.Pic1().pixels());
    EXPECT_TRUE(std::abs(round.width() - 250) <= 2 && std::abs(round.height() - 250) <= 2 &&
                std::abs(round.center().x() - 375) <= 2 && std::abs(round.center().y() - 250) <= 2)
        << round.x() << "," << round.y() << " " << round.width() << "x" << round.height();
    EXPECT_EQ(std::pair(BookPixel(100, 250), BookPixel(650, 250)),
              std::pair(qRgb(255, 255, 255), qRgb(255, 255, 255)));
    modes.proportions = false;
    Turn(true);
    const QRect stretched = ink(book.Pic2().pixels());
    EXPECT_TRUE(std::abs(stretched.width() - 500) <= 2 && std::abs(stretched.height() - 250) <= 2)
        << stretched.width() << "x" << stretched.height();
}

TEST_F(BookTest, TurnsGoForwardBackAndRoundAndStartAgainAtAnUnreadablePicture) {
    dir.write(QStringLiteral("1a.jpg"), "not a picture");
    Open(3);
    Turn(true);
    EXPECT_EQ(frames, Turned(true));
    EXPECT_GT(qRed(leaf[1]), qGreen(leaf[1]));  // the leaf lifted from picture 0
    ExpectAt(1, 1);
    Turn(false);
    EXPECT_EQ(frames, Turned(false));
    ExpectAt(0, 0);
    modes.loop = true;
    Turn(false);
    ExpectAt(3, 2);
    Turn(true);
    ExpectAt(0, 0);
    // Picture 1 changed since it was decoded: it is decoded afresh.
    dir.writePicture(QStringLiteral("1.jpg"), 640, 480, kColours[3]);
    Turn(true);
    ExpectAt(1, 3);
    // 1a cannot be decoded: the album starts again from its first picture, without it.
    Turn(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return book.laidOut(); }, 10000));
    EXPECT_TRUE(frames.empty());
    EXPECT_EQ(book.Count(), 3);
    ExpectAt(0, 0);
}

TEST_F(BookTest, RequestsDuringATurnWaitTheNewestWinsAndALayoutDropsThem) {
    Open(4);
    book.FlipForward();
    book.FlipBackward();
    book.FlipForward();  // replaces the one before
    ASSERT_TRUE(QTest::qWaitFor([&] { return !book.turner().turning(); }, 10000));
    EXPECT_EQ(frames.size(), 74u);
    ExpectAt(2, 2);
    book.FlipForward();
    book.FlipForward();
    ASSERT_TRUE(QTest::qWaitFor([&] { return frames.size() >= 79; }, 10000));
    book.PutFirst();
    EXPECT_FALSE(book.turner().turning());
    WaitForLayout();
    ExpectAt(0, 0);
    // Nothing of the dropped turns comes back: the next turn alone is drawn.
    Turn(true);
    EXPECT_EQ(frames, Turned(true));
    ExpectAt(1, 1);
}

TEST_F(BookTest, TheEndRuleBeepsAndTogglesAutomaticTurningWhichPausesBetweenTurns) {
    Open(2);
    Turn(true);
    // Last picture, loop off: a beep, then automatic turning backward at once. At the first picture
    // the rule meets it again and turns it off: the loop ends after its pause.
    Turn(true);
    EXPECT_EQ(std::tuple(beeps, state.AutoFlip, state.PageIndex), std::tuple(1, true, qint16(0)));
    EXPECT_EQ(frames, Turned(false));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !book.turner().looping(); }, 5000));
    EXPECT_EQ(std::tuple(beeps, state.AutoFlip, frames.size()), std::tuple(2, false, size_t(37)));
    // In loop mode: two turns, the second only after the pause; its frames take 37 x 5 ms at least.
    std::vector<steady_clock::time_point> ends;
    book.turner().onTurnEnd = [&] { ends.push_back(steady_clock::now()); };
    modes.loop = state.AutoFlip = true;
    book.FlipPage(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ends.size() == 2; }, 10000));
    state.AutoFlip = false;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !book.turner().looping(); }, 4000));
    EXPECT_EQ(std::tuple(ends.size(), state.PageIndex, beeps), std::tuple(size_t(2), qint16(0), 2));
    EXPECT_GE(ends[1] - ends[0], std::chrono::milliseconds(kAutoPauseMs + 37 * kFramePauseMs));
}

}  // namespace
}  // namespace leafsong
