#pragma once
// Scaled rectangle copies on pixel buffers: nearest pixel, no blending.

#include <QImage>
#include <QRect>
#include <QRectF>

namespace leafsong {

// Copies srcRect of src (in src's pixels, fractions allowed) into dstRect of dst, each destination
// pixel taking the nearest source pixel. Destination pixels outside dst are clipped; those whose
// source pixel lies outside src keep what they held. Both images are 32-bit (RGB32 or ARGB32*).
void StretchBlt(QImage& dst, const QRect& dstRect, const QImage& src, const QRectF& srcRect);

}  // namespace leafsong
