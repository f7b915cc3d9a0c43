// The floating book as the screen shows it, frame by frame: on scaled desktops and during turns no
// pixel of the key colour or blended with it shows, and the window's shape never cuts the leaf.
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>

#include "e2e/album_fixture.h"

namespace leafsong::e2e {
namespace {

// The desktop behind the book: far from anything the album draws.
constexpr QRgb kBackdrop = qRgb(255, 0, 255);

// Reads the screen straight from the server, a few milliseconds a grab: fast enough to catch
// most frames of a turn.
class Screen {
public:
    Screen() : c_(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(c_) == 0) {
            root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
        }
    }
    ~Screen() { xcb_disconnect(c_); }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    bool connected() const { return root_ != 0; }
    void SetBackdrop(QRgb colour) {
        const uint32_t pixel = colour & 0xffffffU;
        xcb_change_window_attributes(c_, root_, XCB_CW_BACK_PIXEL, &pixel);
        xcb_clear_area(c_, 0, root_, 0, 0, 0, 0);
        // A round trip: the backdrop is up before anything is grabbed.
        std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
    }
    QImage Grab(const QRect& r) {
        xcb_get_image_reply_t* reply = xcb_get_image_reply(
            c_,
            xcb_get_image(c_, XCB_IMAGE_FORMAT_Z_PIXMAP, root_, static_cast<int16_t>(r.x()),
                          static_cast<int16_t>(r.y()), static_cast<uint16_t>(r.width()),
                          static_cast<uint16_t>(r.height()), ~0U),
            nullptr);
        if (!reply) {
            return {};
        }
        // 24-bit depth travels as 32-bit pixels in the server's byte order, rows unpadded.
        const QImage view(xcb_get_image_data(reply), r.width(), r.height(), r.width() * 4,
                          QImage::Format_RGB32);
        QImage copy = view.copy();
        std::free(reply);
        return copy;
    }

private:
    xcb_connection_t* c_;
    xcb_window_t root_ = 0;
};

// What one grab shows wrong.
struct Faults {
    int key = 0;   // pixels of exactly the key colour
    int navy = 0;  // pixels tinted by a blend with it
    int cut = 0;   // columns of the lifted leaf whose top edge or free edge is missing
    bool lifted = false;

    Faults& operator+=(const Faults& f) {
        key += f.key, navy += f.navy, cut += f.cut, lifted = lifted || f.lifted;
        return *this;
    }
};

bool NearWhite(QRgb p) {
    return Distance(p, kWhite) < 40;
}

// shot covers area; book is where the album placed the book on the screen.
Faults Inspect(const QImage& shot, const QRect& area, const BookGeometry& book) {
    Faults f;
    for (int y = 0; y < shot.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
        for (int x = 0; x < shot.width(); ++x) {
            const QRgb p = line[x];
            // Nothing the album draws here (grey cover, white border, shaded pages of red and
            // olive) has more blue than red or green; a grey blended with (7, 7, 39) has until
            // it covers three quarters.
            f.key += (p & 0xffffffU) == 0x070727U;
            f.navy += qBlue(p) - std::max(qRed(p), qGreen(p)) > 8;
        }
    }
    // Above the book only the leaf is drawn. Every column of it runs unbroken down to the book
    // and starts with the page's white top border; the column farthest from the spine is the
    // page's white side border once the leaf is wide enough that its edge column samples it.
    // A state between two frames in which each pixel shows either frame keeps all of this (the
    // union of two leaves); a shape ahead of the pixels shows a leaf's inside at the top or at
    // the free edge.
    auto at = [&](int x, int y) {
        return reinterpret_cast<const QRgb*>(shot.constScanLine(y))[x] | 0xff000000U;
    };
    const int spine = book.BookLeft + book.BookWidth / 2;
    const int bottom = book.BookTop - 1 - area.top();
    int farthest = -1;
    for (int x = book.BookLeft - area.left(); x < book.BookLeft + book.BookWidth - area.left();
         ++x) {
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
        if (farthest < 0 ||
            std::abs(x + area.left() - spine) > std::abs(farthest + area.left() - spine)) {
            farthest = x;
        }
    }
    if (farthest >= 0 && std::abs(farthest + area.left() - spine) >= 40) {
        for (int y = 0; y <= bottom; ++y) {
            const QRgb p = at(farthest, y);
            if (p != kBackdrop && !NearWhite(p)) {
                ++f.cut;
                break;
            }
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
    Screen screen;
    ASSERT_TRUE(screen.connected());
    screen.SetBackdrop(kBackdrop);
    // The cover and the band the lifted, arched leaf reaches, with a margin.
    const QRect area(
        QPoint(book.BookLeft - 14, book.BookTop - 220),
        QPoint(book.BookLeft + book.BookWidth + 13, book.BookTop + book.BookHeight + 13));
    env.insert(u"QT_LOGGING_RULES"_s, u"leafsong.flip.debug=true"_s);

    for (const char* scale : {"1", "1.25", "1.5", "2"}) {
        SCOPED_TRACE(scale);
        env.insert(u"QT_SCALE_FACTOR"_s, QString::fromLatin1(scale));
        Start({Album()});
        QImage still;
        ASSERT_TRUE(WaitFor([&] {
            still = screen.Grab(area);
            const QPoint centre = book.rect().center() - area.topLeft();
            return !still.isNull() && Distance(still.pixel(centre), pages[0]) < 30;
        })) << err.toStdString();
        const Faults atRest = Inspect(still, area, book);
        EXPECT_EQ(atRest.key + atRest.navy + atRest.cut, 0)
            << "still: key " << atRest.key << " navy " << atRest.navy;

        Click(100, 200);  // the focus
        XDo(u"key Left"_s);
        int grabs = 0, lifted = 0, cutGrabs = 0;
        Faults turning;
        for (const QDeadlineTimer deadline(20000);
             !err.contains(u"turn end"_s) && !deadline.hasExpired();
             QCoreApplication::processEvents()) {
            const Faults f = Inspect(screen.Grab(area), area, book);
            ++grabs, lifted += f.lifted, cutGrabs += f.cut > 0;
            turning += f;
        }
        EXPECT_GE(lifted, 10) << "too few grabs caught the leaf lifted (" << grabs << " grabs)";
        EXPECT_EQ(turning.key, 0) << "key-colour pixels in " << grabs << " grabs";
        EXPECT_EQ(turning.navy, 0) << "navy pixels in " << grabs << " grabs";
        EXPECT_EQ(cutGrabs, 0) << "grabs with a cut leaf, of " << lifted << " lifted";
        XDo(u"key Escape"_s);
        ASSERT_EQ(WaitForExit(), 0) << err.toStdString();
        EXPECT_FALSE(err.contains(u"XCB error"_s)) << "the server refused a request";
    }
}

}  // namespace
}  // namespace leafsong::e2e
