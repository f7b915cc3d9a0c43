#pragma once
// The turning leaf: one half of a spread picture drawn column by column as a bent, lifted page.

#include <QImage>
#include <QRect>
#include <vector>

#include "book/page_buffer.h"

namespace leafsong {

// One one-pixel-wide destination column of the leaf.
struct LeafColumn {
    int x = 0;       // destination column
    int top = 0;     // destination row of the column's first pixel
    int height = 0;  // destination rows
    int sx = 0;      // source column in the picture's logical pixels; may lie past the picture
    float f = 0;     // 0 at the free edge, 1 at the fold
};

// The leaf's columns, left to right on the screen: |OutWidth| + 1 of them from the free edge at
// outX to the fold at outX + OutWidth, none when OutWidth is 0.
std::vector<LeafColumn> PlanLeaf(int outX, int outY, int OutWidth, int outStartHeight,
                                 int outEndHeight, int outYOff, int inWidth, bool Direction);

// Draws planned columns: each is source column sx, logical rows 0 to inHeight - 1 of in, scaled
// to the column's height, nearest pixel. What lies outside out is clipped; where the source lies
// outside the picture, out keeps its pixels.
void DrawLeafColumns(QImage& out, const std::vector<LeafColumn>& columns, const PageBuffer& in,
                     int inHeight);

// Draws the leaf onto out (see PlanLeaf and DrawLeafColumns); inWidth and inHeight are in the
// picture's logical pixels. Direction false shows the source's left half with its left edge at
// the free edge; true shows the right half with its right edge at the free edge. Returns the
// rectangle the leaf's columns span, clipped to nothing.
QRect FlipSBlt(QImage& out, int outX, int outY, int OutWidth, int outStartHeight, int outEndHeight,
               int outYOff, const PageBuffer& in, int inWidth, int inHeight, bool Direction);

// The smallest rectangle holding every planned column (empty for no columns).
QRect LeafBounds(const std::vector<LeafColumn>& columns);

}  // namespace leafsong
