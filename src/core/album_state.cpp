#include "core/album_state.h"

#include "common/nearest.h"

namespace leafsong {

BookGeometry PlaceBook(int W, int H) {
    BookGeometry g;
    g.BookWidth = 750;
    g.BookHeight = Nearest(750.0 * 2 / 3);
    g.BookLeft = Nearest((W - 750) / 2.0);
    g.BookTop = Nearest((H - 500) / 2.0 + 75);
    g.LiftBase = Nearest(750.0 * 11 / 12);
    return g;
}

}  // namespace leafsong
