#include "platform/surface.h"

#include <algorithm>
#include <cstdlib>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace leafsong {

namespace {

// A full-screen surface is tens of megabytes touched page by page: on Linux it asks for huge
// pages, so that filling it the first time (and again after a fork elsewhere in the process, which
// makes every page copy-on-write) costs a handful of page faults instead of thousands.
QImage AllocateFrame(QSize size) {
    const qsizetype stride = qsizetype(size.width()) * 4;
    const std::size_t bytes = std::size_t(stride) * std::size_t(size.height());
#ifdef __linux__
    constexpr std::size_t kHugePage = std::size_t(2) << 20;
    if (bytes >= kHugePage) {
        const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        if (void* data = std::aligned_alloc(kHugePage, rounded)) {
            ::madvise(data, rounded, MADV_HUGEPAGE);
            return QImage(static_cast<uchar*>(data), size.width(), size.height(), stride,
                          QImage::Format_RGB32, std::free, data);
        }
    }
#endif
    return QImage(size, QImage::Format_RGB32);
}

}  // namespace

Surface::Surface(QSize size, PresentFn present) : present_(std::move(present)) {
    Resize(size);
}

void Surface::Resize(QSize size) {
    dirty_ = QRect();
    drawn_ = QRect();
    if (size.isEmpty()) {
        image_ = QImage();
        return;
    }
    image_ = AllocateFrame(size);
    // A new surface shows nothing: all of it is see-through, and nothing waits to be presented.
    image_.fill(kKeyColour);
}

void Surface::Clear() {
    // Only what was drawn since the last clear can differ from the key colour.
    const QRect area = drawn_;
    ClearRect(area);
    drawn_ = QRect();
}

void Surface::ClearRect(const QRect& r) {
    const QRect area = r.intersected(image_.rect());
    if (area.isEmpty()) {
        return;
    }
    uchar* bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(bits + y * stride);
        std::fill_n(line + area.left(), area.width(), kKeyColour);
    }
    Touch(area);
}

void Surface::Present() {
    ++presents_;
    const QRect changed = dirty_;
    dirty_ = QRect();
    if (present_) {
        present_(changed);
    }
}

}  // namespace leafsong
