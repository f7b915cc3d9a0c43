#pragma once
// The album's off-screen drawing surface: cleared to the key colour, drawn on, then presented in
// one step.

#include <QColor>
#include <QImage>
#include <QRect>
#include <functional>

namespace leafsong {

// The window's background, shown see-through on screen.
inline constexpr QRgb kKeyColour = qRgb(7, 7, 39);

class Surface {
public:
    using PresentFn = std::function<void(const QRect& changed)>;

    // A surface of size device pixels; present is called with the region drawn since the last one.
    explicit Surface(QSize size = {}, PresentFn present = {});

    void Resize(QSize size);
    QImage& image() { return image_; }
    const QImage& image() const { return image_; }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }

    // Makes the whole surface the key colour again (only what was drawn since is filled).
    void Clear();
    // Fills the part of r that lies on the surface with the key colour and touches it.
    void ClearRect(const QRect& r);
    // Marks a region as drawn since the last present. Every pixel that is not the key colour
    // must lie in a touched region.
    void Touch(const QRect& r) {
        dirty_ |= r;
        drawn_ |= r;
    }
    // Shows what was drawn.
    void Present();
    int presentCount() const { return presents_; }

private:
    QImage image_;
    PresentFn present_;
    QRect dirty_;  // drawn since the last present
    QRect drawn_;  // drawn since the last clear
    int presents_ = 0;
};

}  // namespace leafsong
