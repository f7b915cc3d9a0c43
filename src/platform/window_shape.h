#pragma once
// The see-through window: pixels of exactly the key colour show what lies beneath and let clicks
// through; every other pixel is opaque. Kept as the window's shape, updated only where the
// surface changed, in an order in which no state between two frames looks wrong.

#include <QImage>
#include <QRegion>
#include <vector>

namespace leafsong {

// The pixels of area (device pixels of surface) that are not the key colour.
QRegion OpaqueRegion(const QImage& surface, const QRect& area);

// One request to the window system while a frame is presented; regions in device pixels.
struct PresentStep {
    enum class Kind {
        Paint,   // send the surface's pixels of region to the window
        Grow,    // add region to the window's shape
        Shrink,  // take region out of the window's shape
    };
    Kind kind = Kind::Paint;
    QRegion region;

    bool operator==(const PresentStep& other) const = default;
};

// The requests that take the window from showing the old frame through the shape before to the
// new one through the shape after, where changed holds every pixel that differs (and so every
// pixel that enters or leaves the shape). Carried out in order, each state in between shows
// every pixel as the old or the new frame does, and never a key-colour pixel inside the shape:
// new pixels outside the old shape are sent first (where the window system keeps them, they are
// ready when the shape grows), the shape grows, the changes inside it are sent, and pixels that
// turn see-through are sent only once the shape has left them.
std::vector<PresentStep> PlanPresent(const QRegion& before, const QRegion& after,
                                     const QRegion& changed);

class WindowShape {
public:
    // Takes in what changed in the surface; the steps that present it (none when nothing did).
    std::vector<PresentStep> Update(const QImage& surface, const QRect& changed);
    // The opaque part of the whole surface, in device pixels.
    const QRegion& region() const { return opaque_; }

private:
    QRegion opaque_;
};

}  // namespace leafsong
