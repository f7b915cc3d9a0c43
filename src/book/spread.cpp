#include "book/spread.h"

#include "common/nearest.h"

namespace leafsong {

void DrawSpread(Surface& surface, const BookGeometry& book, const Decorations& deco,
                const PageBuffer& pic) {
    const QRect cover = book.coverRect();
    int w = cover.width();
    int h = cover.height();
    deco.CoverPng.StretchDC(surface.image(), cover.x(), cover.y(), w, h);
    pic.BlitTo(surface.image(), book.rect(),
               QRectF(0, 0, Nearest(pic.ScaleWidth()), Nearest(pic.ScaleHeight())));
    w = book.BookWidth;
    h = book.BookHeight;
    deco.BorderPng.StretchDC(surface.image(), book.BookLeft, book.BookTop, w, h);
    surface.Touch(cover);
}

}  // namespace leafsong
