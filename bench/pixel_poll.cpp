// Waits until one pixel of the X screen comes near a colour, polling as fast as the server
// answers (a 1 x 1 GetImage of the root is tens of microseconds, where a screenshot program takes
// tens of milliseconds). Prints the wall clock at that moment, in nanoseconds since the epoch.
//
//   leafsong_pixel_poll X Y RRGGBB TOLERANCE TIMEOUT_MS
//
// TOLERANCE is the largest sum of the three channels' differences. Exit status 1 on timeout.
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

int Channel(unsigned rgb, int shift) {
    return static_cast<int>((rgb >> shift) & 0xFFU);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fputs("usage: leafsong_pixel_poll X Y RRGGBB TOLERANCE TIMEOUT_MS\n", stderr);
        return 2;
    }
    const auto x = static_cast<int16_t>(std::atoi(argv[1]));
    const auto y = static_cast<int16_t>(std::atoi(argv[2]));
    const auto want = static_cast<unsigned>(std::strtoul(argv[3], nullptr, 16));
    const int tolerance = std::atoi(argv[4]);
    const auto timeout = std::chrono::milliseconds(std::atoi(argv[5]));

    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c) != 0) {
        std::fputs("leafsong_pixel_poll: no X display\n", stderr);
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        const std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> image(
            xcb_get_image_reply(
                c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, x, y, 1, 1, ~0U), nullptr),
            &std::free);
        if (!image || xcb_get_image_data_length(image.get()) < 4) {
            continue;
        }
        const uint8_t* p = xcb_get_image_data(image.get());  // B, G, R, pad on 24/32-bit screens
        const int distance = std::abs(p[2] - Channel(want, 16)) +
                             std::abs(p[1] - Channel(want, 8)) + std::abs(p[0] - Channel(want, 0));
        if (distance <= tolerance) {
            const auto now = std::chrono::system_clock::now().time_since_epoch();
            std::printf("%lld\n",
                        static_cast<long long>(
                            std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
            xcb_disconnect(c);
            return 0;
        }
    }
    xcb_disconnect(c);
    return 1;
}
