#include "platform/blit.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace leafsong {

namespace {

// Source index for each destination index in [first, last) of a span of length d that maps
// onto [origin, origin + extent) of a source of size n; -1 where the source pixel lies outside.
std::vector<int> SourceIndices(int first, int last, int d, double origin, double extent, int n) {
    std::vector<int> out;
    out.reserve(static_cast<size_t>(last - first));
    for (int j = first; j < last; ++j) {
        const double s = std::floor(origin + (j + 0.5) * extent / d);
        out.push_back(s >= 0 && s < n ? static_cast<int>(s) : -1);
    }
    return out;
}

}  // namespace

void StretchBlt(QImage& dst, const QRect& dstRect, const QImage& src, const QRectF& srcRect) {
    const int dw = dstRect.width();
    const int dh = dstRect.height();
    if (dw <= 0 || dh <= 0 || dst.isNull() || src.isNull() || dst.depth() != 32 ||
        src.depth() != 32) {
        return;
    }
    // Offsets j inside dstRect that land on dst.
    const int j0 = std::max(0, -dstRect.x());
    const int j1 = std::min(dw, dst.width() - dstRect.x());
    const int i0 = std::max(0, -dstRect.y());
    const int i1 = std::min(dh, dst.height() - dstRect.y());
    if (j0 >= j1 || i0 >= i1) {
        return;
    }
    const std::vector<int> cols =
        SourceIndices(j0, j1, dw, srcRect.x(), srcRect.width(), src.width());
    const std::vector<int> rows =
        SourceIndices(i0, i1, dh, srcRect.y(), srcRect.height(), src.height());

    // A one-to-one row (the pages of a turn at their own size) is copied whole.
    bool contiguous = cols.front() >= 0;
    for (size_t k = 1; contiguous && k < cols.size(); ++k) {
        contiguous = cols[k] == cols[k - 1] + 1;
    }

    uchar* dstBits = dst.bits();  // detaches once, not per line
    const qsizetype dstStride = dst.bytesPerLine();
    const uchar* srcBits = src.constBits();
    const qsizetype srcStride = src.bytesPerLine();
    for (int i = i0; i < i1; ++i) {
        const int sy = rows[static_cast<size_t>(i - i0)];
        if (sy < 0) {
            continue;
        }
        auto* out =
            reinterpret_cast<quint32*>(dstBits + (dstRect.y() + i) * dstStride) + dstRect.x() + j0;
        const auto* in = reinterpret_cast<const quint32*>(srcBits + sy * srcStride);
        if (contiguous) {
            std::memcpy(out, in + cols.front(), cols.size() * sizeof(quint32));
            continue;
        }
        for (const int sx : cols) {
            if (sx >= 0) {
                *out = in[sx];
            }
            ++out;
        }
    }
}

}  // namespace leafsong
