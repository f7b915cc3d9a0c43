#include "platform/surface.h"

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

void Surface::Present() {
    ++presents_;
    const QRect changed = dirty_;
    dirty_ = QRect();
    if (present_) {
        present_(changed);
    }
}

}  // namespace leafsong
