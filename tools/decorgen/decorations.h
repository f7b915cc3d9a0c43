#pragma once
// The pictures the album lays over its pages, drawn once at build time. Each function returns a
// non-premultiplied ARGB32 image so the written PNG keeps every alpha value exactly.

#include <QImage>

namespace leafsong::decorgen {

// 900x600: opaque white margins (left 15, right 14, top and bottom 10 columns/rows) and a faint
// column at x=15; drawn over a page it whitens the page's margins.
QImage Border();

// 900x600: shading of a right-hand page in the right half (curve towards the spine, darker outer
// edge, stacked page edges at the top and bottom); the left half is transparent.
QImage ShadowRight();

// 900x600: shading of a left-hand page in the left half (outer page edges, spine shadow); the
// right half is transparent.
QImage ShadowLeft();

// 920x620: the open book's cover seen behind the two pages; the first 7 rows are transparent.
QImage PageCover();

// 32x32 pointing hand whose fingertip (the hot spot) is at (12, 1).
QImage PageCursor();

// size x size opaque program icon: an open book with a leaf. At 32 it is the window icon the
// program embeds (resources/leafsong.png); the larger sizes are the installed desktop icons.
QImage ProgramIcon(int size = 32);

}  // namespace leafsong::decorgen
