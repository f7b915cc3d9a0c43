#include "platform/window_shape.h"

#include "platform/surface.h"

namespace leafsong {

QRegion OpaqueRegion(const QImage& surface, const QRect& area) {
    const QRect r = area & surface.rect();
    if (r.isEmpty()) {
        return {};
    }
    // Built straight from the rows in the region's own form: each row's runs of pixels that are
    // not the key colour, rows with the same runs joined into one band; no copy, no mask.
    std::vector<QRect> rects;
    std::vector<std::pair<int, int>> band;  // the runs of the band being built, [x0, x1)
    std::vector<std::pair<int, int>> row;
    int bandTop = r.top();
    auto flush = [&](int end) {
        for (const auto& [x0, x1] : band) {
            rects.emplace_back(QPoint(x0, bandTop), QPoint(x1 - 1, end - 1));
        }
    };
    const QRgb key = kKeyColour & 0xffffffU;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const auto* p = reinterpret_cast<const QRgb*>(surface.constScanLine(y));
        row.clear();
        for (int x = r.left(); x <= r.right();) {
            while (x <= r.right() && (p[x] & 0xffffffU) == key) {
                ++x;
            }
            const int x0 = x;
            while (x <= r.right() && (p[x] & 0xffffffU) != key) {
                ++x;
            }
            if (x > x0) {
                row.emplace_back(x0, x);
            }
        }
        if (row != band) {
            flush(y);
            band.swap(row);
            bandTop = y;
        }
    }
    flush(r.bottom() + 1);
    QRegion region;
    region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
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
