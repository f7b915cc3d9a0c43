#pragma once
// One frame of a page turn: the cover, the two still pages and the lifted leaf.

#include <QRect>

#include "book/decorations.h"
#include "book/page_buffer.h"
#include "core/album_state.h"
#include "platform/surface.h"

namespace leafsong {

// Where the leaf lies for a free-edge position.
struct LeafGeometry {
    int Lift = 0;   // how far the free edge is raised above the book's top
    int edgeX = 0;  // x of the free edge on the surface
    int top = 0;    // top of the free-edge column
    int width = 0;  // signed distance from the free edge to the spine; negative right of it
};

// The leaf at FlipPos (the free edge's offset from the book's left edge).
LeafGeometry LeafAt(const BookGeometry& book, int FlipPos);

// Columns in each half of a page buffer, as the pages and the leaf split it: an odd width
// gives both halves the same rounded width (1001 gives 500, 1003 gives 502).
int HalfWidth(const PageBuffer& pic);

// Everything a frame with FlipPos from 0 to BookWidth can draw on: the cover and the band
// above the book that the lifted, arched leaf reaches. Not clipped to any surface.
QRect TurnArea(const BookGeometry& book);

// Draws one frame without presenting it and touches what it changed. Only TurnArea is cleared:
// the rest of the surface must already hold the key colour, as after any spread or frame. The
// left page is Pic1's left half, the right page Pic2's right half; the leaf shows Pic1's right
// half when Reverse is set, otherwise Pic2's left half. Returns the leaf it drew.
LeafGeometry Blting(Surface& surface, const BookGeometry& book, const Decorations& deco,
                    const PageBuffer& Pic1, const PageBuffer& Pic2, int FlipPos, bool Reverse);

}  // namespace leafsong
