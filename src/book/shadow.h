#pragma once

#include "book/decorations.h"
#include "book/page_buffer.h"

namespace leafsong {

// Shades and frames both page buffers before a turn: the right-page shading and the border over
// the whole of Pic1, the left-page shading and the border over the whole of Pic2.
void Shadow(const Decorations& deco, PageBuffer& Pic1, PageBuffer& Pic2);

}  // namespace leafsong
