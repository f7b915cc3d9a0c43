#include "platform/window_shape.h"

#include <QBitmap>

#include "platform/surface.h"

namespace leafsong {

QRegion OpaqueRegion(const QImage& surface, const QRect& area) {
    const QRect r = area & surface.rect();
    if (r.isEmpty()) {
        return {};
    }
    // The mask's set bits (the region's pixels) come out where the colour does not match.
    const QImage mask = surface.copy(r).createMaskFromColor(kKeyColour, Qt::MaskInColor);
    return QRegion(QBitmap::fromImage(mask)).translated(r.topLeft());
}

bool WindowShape::Update(const QImage& surface, const QRect& changed) {
    if (changed.isEmpty()) {
        return false;
    }
    const QRegion next = opaque_.subtracted(changed).united(OpaqueRegion(surface, changed));
    if (next == opaque_) {
        return false;
    }
    opaque_ = next;
    return true;
}

}  // namespace leafsong
