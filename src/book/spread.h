#pragma once

#include "book/decorations.h"
#include "book/page_buffer.h"
#include "core/album_state.h"
#include "platform/surface.h"

namespace leafsong {

// Draws a still spread onto the surface without clearing or presenting it: the cover behind the
// book, the whole page buffer stretched over the book, the border over it.
void DrawSpread(Surface& surface, const BookGeometry& book, const Decorations& deco,
                const PageBuffer& pic);

}  // namespace leafsong
