#include "platform/x11_shape.h"

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

namespace leafsong {

X11Shape::X11Shape() {
    // Other platforms may keep an X connection of their own (offscreen, for GL): not ours to shape.
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb")) {
        return;
    }
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c) {
        return;
    }
    const xcb_query_extension_reply_t* shape = xcb_get_extension_data(c, &xcb_shape_id);
    if (!shape || !shape->present) {
        return;
    }
    const std::unique_ptr<xcb_shape_query_version_reply_t, decltype(&std::free)> version(
        xcb_shape_query_version_reply(c, xcb_shape_query_version(c), nullptr), &std::free);
    if (!version) {
        return;
    }
    connection_ = c;
    input_ =
        version->major_version > 1 || (version->major_version == 1 && version->minor_version >= 1);
}

void X11Shape::Clear(WId window) const {
    Apply(window, XCB_SHAPE_SO_SET, QRegion());
}

void X11Shape::Grow(WId window, const QRegion& region) const {
    Apply(window, XCB_SHAPE_SO_UNION, region);
}

void X11Shape::Shrink(WId window, const QRegion& region) const {
    Apply(window, XCB_SHAPE_SO_SUBTRACT, region);
}

void X11Shape::Apply(WId window, int op, const QRegion& region) const {
    if (!connection_ || window == 0) {
        return;
    }
    std::vector<xcb_rectangle_t> rects;
    rects.reserve(static_cast<size_t>(region.rectCount()));
    for (const QRect& r : region) {
        rects.push_back({static_cast<int16_t>(r.x()), static_cast<int16_t>(r.y()),
                         static_cast<uint16_t>(r.width()), static_cast<uint16_t>(r.height())});
    }
    // A request longer than the server takes would end the connection: a long region goes in
    // parts, each of them a state in between as the shape only grows or only shrinks.
    const size_t limit = std::max<size_t>(1, (xcb_get_maximum_request_length(connection_) - 4) / 2);
    const auto id = static_cast<xcb_window_t>(window);
    const xcb_shape_kind_t kinds[] = {XCB_SHAPE_SK_BOUNDING, XCB_SHAPE_SK_INPUT};
    for (const xcb_shape_kind_t kind : kinds) {
        if (kind == XCB_SHAPE_SK_INPUT && !input_) {
            break;
        }
        size_t done = 0;
        do {
            const size_t n = std::min(limit, rects.size() - done);
            // QRegion keeps its rectangles in y-x bands, which the server takes fastest.
            xcb_shape_rectangles(connection_, static_cast<xcb_shape_op_t>(op), kind,
                                 XCB_CLIP_ORDERING_YX_BANDED, id, 0, 0, static_cast<uint32_t>(n),
                                 rects.data() + done);
            done += n;
        } while (done < rects.size());
    }
    xcb_flush(connection_);
}

}  // namespace leafsong
