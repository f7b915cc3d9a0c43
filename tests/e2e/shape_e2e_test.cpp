// The floating book as the screen shows it, frame by frame: on scaled desktops and during turns no
// pixel of the key colour or blended with it shows, and the window's shape never cuts the leaf.
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "e2e/album_fixture.h"

namespace leafsong::e2e {
namespace {

// The desktop behind the book: far from anything the album draws.
constexpr QRgb kBackdrop = qRgb(255, 0, 255);

// Reads the screen straight from the server, a few milliseconds a grab: fast enough to catch
// most frames of a turn.
struct Screen {
    Screen() {
        if (xcb_connection_has_error(c.get()) == 0) {
            root = xcb_setup_roots_iterator(xcb_get_setup(c.get())).data->root;
            const uint32_t pixel = kBackdrop & 0xffffffU;
            xcb_change_window_attributes(c.get(), root, XCB_CW_BACK_PIXEL, &pixel);
            xcb_clear_area(c.get(), 0, root, 0, 0, 0, 0);
            // A round trip: the backdrop is up before anything is grabbed.
            std::free(xcb_get_input_focus_reply(c.get(), xcb_get_input_focus(c.get()), nullptr));
        }
    }
    QImage Grab(const QRect& r) const {
        const std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> reply(
            xcb_get_image_reply(
                c.get(),
                xcb_get_image(c.get(), XCB_IMAGE_FORMAT_Z_PIXMAP, root, static_cast<int16_t>(r.x()),
                              static_cast<int16_t>(r.y()), static_cast<uint16_t>(r.width()),
                              static_cast<uint16_t>(r.height()), ~0U),
                nullptr),
            &std::free);
        // 24-bit depth travels as 32-bit pixels in the server's byte order, rows unpadded.
        return reply ? QImage(xcb_get_image_data(reply.get()), r.width(), r.height(),
                              qsizetype{r.width()} * 4, QImage::Format_RGB32)
                           .copy()
                     : QImage();
    }
    std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> c{xcb_connect(nullptr, nullptr),
                                                                   &xcb_disconnect};
    xcb_window_t root = 0;
};

// What one grab shows wrong.
struct Faults {
    int tinted = 0;  // pixels of the key colour (7, 7, 39) or blended with it
    int cut = 0;     // columns of the lifted leaf whose top edge or free edge is missing
    bool lifted = false;
};

bool NearWhite(QRgb p) {
    return Distance(p, kWhite) < 40;
}

Faults Inspect(const QImage& shot, QPoint origin, const BookGeometry& book) {
    Faults f;
    // Nothing the album draws (grey cover, white border, shaded red and olive pages) has more blue
    // than red or green; the key colour has, and so has a grey blended with it until it covers
    // three quarters.
    for (int y = 0; y < shot.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
        for (int x = 0; x < shot.width(); ++x) {
            f.tinted += qBlue(line[x]) - std::max(qRed(line[x]), qGreen(line[x])) > 8;
        }
    }
    // Above the book only the leaf is drawn. Every column of it runs unbroken down to the book
    // from the page's white top border; the column farthest from the spine is the white side
    // border once the leaf is wide. A state between two frames showing either frame in each
    // pixel keeps this; a shape ahead of the pixels shows a leaf's inside at the top or the edge.
    auto at = [&](int x, int y) { return shot.pixel(x, y) | 0xff000000U; };
    const int spine = book.BookLeft + book.BookWidth / 2 - origin.x();
    const int bottom = book.BookTop - 1 - origin.y();
    int farthest = -1;
    for (int x = book.BookLeft - origin.x(); x < book.BookLeft + book.BookWidth - origin.x(); ++x) {
        int top = 0;
        while (top <= bottom && at(x, top) == kBackdrop) {
            ++top;
        }
        if (top > bottom) {
            continue;
        }
        f.lifted = f.lifted || bottom - top > 20;
        bool whole = NearWhite(at(x, top));
        for (int y = top; y <= bottom; ++y) {
            whole = whole && at(x, y) != kBackdrop;
        }
        f.cut += !whole;
        farthest = farthest < 0 || std::abs(x - spine) > std::abs(farthest - spine) ? x : farthest;
    }
    for (int y = 0; farthest >= 0 && std::abs(farthest - spine) >= 40 && y <= bottom; ++y) {
        if (at(farthest, y) != kBackdrop && !NearWhite(at(farthest, y))) {
            ++f.cut;
            break;
        }
    }
    return f;
}

class ShapeE2E : public AlbumE2E {
protected:
    ShapeE2E() : AlbumE2E({1920, 1080}) {}
};

TEST_F(ShapeE2E, NoKeyColourAndNoCutLeafOnScaledDesktopsStillOrTurning) {
    const QRgb pages[] = {qRgb(200, 40, 40), qRgb(170, 150, 40)};
    for (int i = 0; i < 2; ++i) {
        root.writePicture(u"album/%1.jpg"_s.arg(i), 900, 600, pages[i]);
    }
    const Screen screen;
    ASSERT_NE(screen.root, 0U);
    // The cover and the band the lifted, arched leaf reaches, with a margin.
    const QRect area(
        QPoint(book.BookLeft - 14, book.BookTop - 220),
        QPoint(book.BookLeft + book.BookWidth + 13, book.BookTop + book.BookHeight + 13));
    env.insert(u"QT_LOGGING_RULES"_s, u"leafsong.flip.debug=true"_s);

    for (const char* scale : {"1", "1.5", "2"}) {
        SCOPED_TRACE(scale);
        env.insert(u"QT_SCALE_FACTOR"_s, QString::fromLatin1(scale));
        Start({Album()});
        QImage still;
        ASSERT_TRUE(WaitFor([&] {
            still = screen.Grab(area);
            return !still.isNull() &&
                   Distance(still.pixel(book.rect().center() - area.topLeft()), pages[0]) < 30;
        })) << err.toStdString();
        const Faults atRest = Inspect(still, area.topLeft(), book);
        EXPECT_EQ(atRest.tinted + atRest.cut, 0) << "still: tinted " << atRest.tinted;

        Click(100, 200);  // the focus
        XDo(u"key Left"_s);
        int grabs = 0, lifted = 0, tinted = 0, cut = 0;
        for (const QDeadlineTimer deadline(20000);
             !err.contains(u"turn end"_s) && !deadline.hasExpired();
             QCoreApplication::processEvents()) {
            const Faults f = Inspect(screen.Grab(area), area.topLeft(), book);
            ++grabs, lifted += f.lifted, tinted += f.tinted, cut += f.cut > 0;
        }
        EXPECT_GE(lifted, 5) << "too few grabs caught the leaf lifted (" << grabs << " grabs)";
        EXPECT_EQ(tinted, 0) << "key-colour or navy pixels in " << grabs << " grabs";
        EXPECT_EQ(cut, 0) << "grabs with a cut leaf, of " << lifted << " lifted";
        XDo(u"key Escape"_s);
        ASSERT_EQ(WaitForExit(), 0) << err.toStdString();
        EXPECT_FALSE(err.contains(u"XCB error"_s)) << "the server refused a request";
    }
}

}  // namespace
}  // namespace leafsong::e2e
