#pragma once
// A window's shape through the X server's shape extension: in device pixels, exactly (a widget
// mask is given in the scaled coordinates of a high-dpi desktop and rounded there), and on Qt's
// own connection, so that the server takes it in order with the window's painting.

#include <qwindowdefs.h>
#include <QRegion>

struct xcb_connection_t;

namespace leafsong {

class X11Shape {
public:
    // Ready when the application runs on X11 and the server has the shape extension.
    X11Shape();
    bool available() const { return connection_ != nullptr; }

    // Makes the window wholly see-through, for drawing and for input.
    void Clear(WId window) const;
    // Adds region to the window's shape.
    void Grow(WId window, const QRegion& region) const;
    // Takes region out of the window's shape.
    void Shrink(WId window, const QRegion& region) const;

private:
    void Apply(WId window, int op, const QRegion& region) const;

    xcb_connection_t* connection_ = nullptr;
    bool input_ = false;  // the server shapes input separately (shape 1.1)
};

}  // namespace leafsong
