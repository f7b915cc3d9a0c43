#include "book/strip_warp.h"

#include <algorithm>
#include <cmath>

#include "common/nearest.h"

namespace leafsong {

namespace {

// The curve's half sine uses this rounded value, not pi: at the fold it leaves a sine of about
// 2.7e-6, too small to move a pixel at the album's sizes.
constexpr double kCurvePi = 3.14159;

}  // namespace

std::vector<LeafColumn> PlanLeaf(int outX, int outY, int OutWidth, int outStartHeight,
                                 int outEndHeight, int outYOff, int inWidth, bool Direction) {
    std::vector<LeafColumn> columns;
    if (OutWidth == 0) {
        return columns;
    }
    const int first = std::min(0, OutWidth);
    const int last = std::max(0, OutWidth);
    columns.reserve(static_cast<size_t>(last) - static_cast<size_t>(first) + 1);
    const int growth = outEndHeight - outStartHeight;
    const double arch = outEndHeight / 20.0;
    for (int i = first; i <= last; ++i) {
        // Single precision on purpose: the leaf's exact pixels depend on this rounding.
        const float f = static_cast<float>(static_cast<double>(i) / OutWidth);
        const double fd = f;
        const int c = Nearest(arch * std::sin(fd * kCurvePi));
        LeafColumn col;
        col.x = outX + i;
        col.top = Nearest(fd * outYOff + outY - c);
        col.height = outStartHeight + Nearest(fd * growth);
        col.sx = Direction ? Nearest((2 - fd) * inWidth) : Nearest(fd * inWidth);
        col.f = f;
        columns.push_back(col);
    }
    return columns;
}

void DrawLeafColumns(QImage& out, const std::vector<LeafColumn>& columns, const PageBuffer& in,
                     int inHeight) {
    const QImage& src = in.pixels();
    if (columns.empty() || inHeight <= 0 || out.isNull() || src.isNull() || in.isEmpty() ||
        out.depth() != 32 || src.depth() != 32) {
        return;
    }
    const int logicalWidth = in.logicalSize().width();
    const double scaleX = static_cast<double>(src.width()) / logicalWidth;
    // Stored rows that the logical rows 0 to inHeight - 1 span.
    const double rowExtent =
        static_cast<double>(inHeight) * src.height() / in.logicalSize().height();

    uchar* dstBits = out.bits();  // detaches once, not per column
    const qsizetype dstStride = out.bytesPerLine();
    const uchar* srcBits = src.constBits();
    const qsizetype srcStride = src.bytesPerLine();

    // Byte offset of the source row for each row of a column, -1 past the picture. Columns of a
    // page turn all have one height, so this is built once per frame.
    std::vector<qsizetype> rowOffsets;
    int offsetsHeight = -1;

    for (const LeafColumn& c : columns) {
        if (c.x < 0 || c.x >= out.width() || c.height <= 0 || c.sx < 0 || c.sx >= logicalWidth) {
            continue;
        }
        const int j0 = std::max(0, -c.top);
        const int j1 = std::min(c.height, out.height() - c.top);
        if (j0 >= j1) {
            continue;
        }
        if (c.height != offsetsHeight) {
            offsetsHeight = c.height;
            rowOffsets.resize(static_cast<size_t>(c.height));
            for (int j = 0; j < c.height; ++j) {
                // Same sampling as StretchBlt, so a flat leaf matches a still page.
                const double sy = std::floor((j + 0.5) * rowExtent / c.height);
                rowOffsets[static_cast<size_t>(j)] =
                    sy < src.height() ? static_cast<qsizetype>(sy) * srcStride : -1;
            }
        }
        const int storedColumn =
            std::min(static_cast<int>(std::floor((c.sx + 0.5) * scaleX)), src.width() - 1);
        const uchar* srcColumn = srcBits + qsizetype(storedColumn) * 4;
        uchar* dst = dstBits + qsizetype(c.top + j0) * dstStride + qsizetype(c.x) * 4;
        for (int j = j0; j < j1; ++j, dst += dstStride) {
            const qsizetype offset = rowOffsets[static_cast<size_t>(j)];
            if (offset >= 0) {
                *reinterpret_cast<quint32*>(dst) =
                    *reinterpret_cast<const quint32*>(srcColumn + offset);
            }
        }
    }
}

QRect FlipSBlt(QImage& out, int outX, int outY, int OutWidth, int outStartHeight, int outEndHeight,
               int outYOff, const PageBuffer& in, int inWidth, int inHeight, bool Direction) {
    const std::vector<LeafColumn> columns =
        PlanLeaf(outX, outY, OutWidth, outStartHeight, outEndHeight, outYOff, inWidth, Direction);
    DrawLeafColumns(out, columns, in, inHeight);
    return LeafBounds(columns);
}

QRect LeafBounds(const std::vector<LeafColumn>& columns) {
    QRect r;
    for (const LeafColumn& c : columns) {
        if (c.height > 0) {
            r |= QRect(c.x, c.top, 1, c.height);
        }
    }
    return r;
}

}  // namespace leafsong
