#include "book/frame.h"

#include <algorithm>
#include <cmath>

#include "book/strip_warp.h"
#include "common/nearest.h"

namespace leafsong {

namespace {

// The lift's sine uses pi as a float holds it, widened again; some lifts differ by a pixel from
// those with the full value.
constexpr double kLiftPi = 3.141592502593994;
static_assert(kLiftPi == static_cast<double>(3.1415925f));

}  // namespace

LeafGeometry LeafAt(const BookGeometry& book, int FlipPos) {
    LeafGeometry g;
    const double s = std::sin(static_cast<double>(FlipPos) / book.BookWidth * kLiftPi);
    g.Lift = Nearest((book.LiftBase - book.BookHeight) * s);
    g.edgeX = FlipPos + book.BookLeft;
    g.top = book.BookTop - g.Lift;
    g.width = Nearest(book.BookWidth / 2.0 - FlipPos);
    return g;
}

int HalfWidth(const PageBuffer& pic) {
    // Halved in single precision, as the picture's size is held.
    return Nearest(static_cast<float>(pic.ScaleWidth()) / 2.0f);
}

QRect TurnArea(const BookGeometry& book) {
    const int liftRange = book.LiftBase - book.BookHeight;
    const int arch = static_cast<int>(std::ceil(book.BookHeight / 20.0));
    const QRect cover = book.coverRect();
    // A negative lift range would bend the leaf downwards instead.
    const int top = book.BookTop - std::max(0, liftRange) - arch;
    const int bottom =
        std::max(cover.bottom(), book.BookTop + book.BookHeight - 1 - std::min(0, liftRange));
    return QRect(QPoint(cover.left(), top), QPoint(cover.right(), bottom));
}

LeafGeometry Blting(Surface& surface, const BookGeometry& book, const Decorations& deco,
                    const PageBuffer& Pic1, const PageBuffer& Pic2, int FlipPos, bool Reverse) {
    const LeafGeometry leaf = LeafAt(book, FlipPos);
    QImage& image = surface.image();
    const QRect area = TurnArea(book);
    const QRect cover = book.coverRect();
    const int pageWidth = Nearest(book.BookWidth / 2.0);
    const QRect left(book.BookLeft, book.BookTop, pageWidth, book.BookHeight);
    const QRect right(Nearest(book.BookWidth / 2.0 + book.BookLeft), book.BookTop, pageWidth,
                      book.BookHeight);

    // Each pixel is written once where possible: the turn area above and below the cover (it
    // spans the cover's width) is cleared, the cover is drawn as over a cleared area, and the
    // pages then cover their part of it.
    surface.ClearRect(QRect(area.topLeft(), QPoint(area.right(), cover.top() - 1)));
    surface.ClearRect(QRect(QPoint(area.left(), cover.bottom() + 1), area.bottomRight()));
    const bool pagesCover = !Pic1.isEmpty() && !Pic2.isEmpty() && right.left() <= left.right() + 1;
    if (!deco.CoverPng.DrawOverKey(image, cover, pagesCover ? left.united(right) : QRect())) {
        surface.ClearRect(cover);
    }
    surface.Touch(cover);

    const int half1 = HalfWidth(Pic1);
    const int half2 = HalfWidth(Pic2);
    Pic1.BlitTo(image, left, QRectF(0, 0, half1, Nearest(static_cast<float>(Pic1.ScaleHeight()))));
    Pic2.BlitTo(image, right,
                QRectF(half2, 0, half2, Nearest(static_cast<float>(Pic2.ScaleHeight()))));

    const PageBuffer& shown = Reverse ? Pic1 : Pic2;
    const QRect drawn = FlipSBlt(image, leaf.edgeX, leaf.top, leaf.width, book.BookHeight,
                                 book.BookHeight, leaf.Lift, shown, HalfWidth(shown),
                                 Nearest(static_cast<float>(shown.ScaleHeight())), Reverse);
    // A FlipPos outside the book can reach past the cleared area: report that too.
    surface.Touch(drawn.intersected(image.rect()));
    return leaf;
}

}  // namespace leafsong
