#pragma once
// The see-through window: pixels of exactly the key colour show what lies beneath and let clicks
// through; every other pixel is opaque. Kept as the window's shape, updated only where the
// surface changed.

#include <QImage>
#include <QRegion>

namespace leafsong {

// The pixels of area (device pixels of surface) that are not the key colour.
QRegion OpaqueRegion(const QImage& surface, const QRect& area);

class WindowShape {
public:
    // Takes in what changed in the surface; true when the shape is now different.
    bool Update(const QImage& surface, const QRect& changed);
    // The opaque part of the whole surface, in device pixels.
    const QRegion& region() const { return opaque_; }

private:
    QRegion opaque_;
};

}  // namespace leafsong
