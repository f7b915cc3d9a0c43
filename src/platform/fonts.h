#pragma once
// Fonts named explicitly, so Chinese text never falls back to boxes.

#include <QFont>
#include <QStringList>

namespace leafsong {

// Families tried in order: CJK faces first (the scripts install WenQuanYi Micro Hei).
QStringList CjkFamilies();

// Point size in pixels at 96 dpi, whatever the screen's dpi: the page is part of the picture.
int PointsToPixels(double points);

// The page buffers' font at a point size.
QFont PageFont(double points, bool bold);

}  // namespace leafsong
