#include "platform/surface.h"

#include <algorithm>

namespace leafsong {

Surface::Surface(QSize size, PresentFn present) : present_(std::move(present)) {
    Resize(size);
}

void Surface::Resize(QSize size) {
    if (size.isEmpty()) {
        image_ = QImage();
        return;
    }
    image_ = QImage(size, QImage::Format_RGB32);
    Clear();
}

void Surface::Clear() {
    image_.fill(kKeyColour);
    dirty_ = image_.rect();
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
