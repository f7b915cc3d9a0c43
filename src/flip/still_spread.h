#pragma once

#include "app/album_state.h"
#include "flip/decorations.h"
#include "pages/page_buffer.h"
#include "platform/surface.h"

namespace leafsong {

// Draws a still spread onto the surface without clearing or presenting it: the cover behind the
// book, the whole page buffer stretched over the book, the border over it.
void DrawSpread(Surface& surface, const BookGeometry& book, const Decorations& deco,
                const PageBuffer& pic);

}  // namespace leafsong
