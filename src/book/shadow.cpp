#include "book/shadow.h"

namespace leafsong {

namespace {

// The decorations cover the stored pixels whole, whatever the picture's logical size.
void Cover(const PngOverlay& overlay, PageBuffer& page) {
    QImage& pixels = page.pixels();
    int w = pixels.width();
    int h = pixels.height();
    overlay.StretchDC(pixels, 0, 0, w, h);
}

}  // namespace

void Shadow(const Decorations& deco, PageBuffer& Pic1, PageBuffer& Pic2) {
    // The border goes on last so that the shading never darkens the frame.
    Cover(deco.ShadowPng[0], Pic1);
    Cover(deco.ShadowPng[1], Pic2);
    Cover(deco.BorderPng, Pic1);
    Cover(deco.BorderPng, Pic2);
}

}  // namespace leafsong
