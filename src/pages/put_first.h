#pragma once
// The opening spread: the album laid out afresh from its first picture.

#include "app/album_state.h"
#include "flip/decorations.h"
#include "menu/modes.h"
#include "pages/listing.h"
#include "pages/marks.h"
#include "pages/page_buffer.h"
#include "pages/picture_cache.h"
#include "platform/clock.h"
#include "platform/surface.h"

namespace leafsong {

// What the opening spread reads and writes.
struct PageServices {
    AlbumState& state;
    Listing& File1;
    PageBuffer& Pic1;
    PageBuffer& Pic2;
    const Decorations& deco;
    Surface& surface;
    Marks& marks;
    const Modes& modes;
    const Clock& clock;
    PictureCache* cache = nullptr;  // decoded pictures to take the pages from, when there is one
};

// Puts the first picture (or the information page of an empty album) on the book: restores and
// re-tests the marked pictures, sets PageIndex to 0, fills Pic1 and Pic2 and presents Pic1 framed.
void PutFirst(PageServices& s);

// Writes the information page into a buffer (750 x 500), with the greeting line on the greeting
// date.
void WriteInfoPage(PageBuffer& pic, bool birthday);

// Colour of the information page's text.
inline constexpr QRgb kGreyText = qRgb(109, 109, 109);

}  // namespace leafsong
