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

std::vector<PresentStep> PlanPresent(const QRegion& before, const QRegion& after,
                                     const QRegion& changed) {
    using Kind = PresentStep::Kind;
    std::vector<PresentStep> steps;
    auto add = [&](Kind kind, const QRegion& region) {
        if (!region.isEmpty()) {
            steps.push_back({kind, region});
        }
    };
    const QRegion grown = after.subtracted(before);
    const QRegion shrunk = before.subtracted(after);
    if (!grown.isEmpty()) {
        add(Kind::Paint, changed.intersected(grown));
        add(Kind::Grow, grown);
    }
    if (shrunk.isEmpty()) {
        // What lies outside the shape now is outside it in both frames: sending it is unseen.
        add(Kind::Paint, changed);
        return steps;
    }
    add(Kind::Paint, changed.intersected(after));
    add(Kind::Shrink, shrunk);
    add(Kind::Paint, changed.subtracted(after));
    return steps;
}

std::vector<PresentStep> WindowShape::Update(const QImage& surface, const QRect& changed) {
    if (changed.isEmpty()) {
        return {};
    }
    const QRegion before = opaque_;
    opaque_ = opaque_.subtracted(changed).united(OpaqueRegion(surface, changed));
    return PlanPresent(before, opaque_, changed);
}

}  // namespace leafsong
