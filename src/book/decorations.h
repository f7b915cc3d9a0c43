#pragma once
// The four decoration pictures of the book, taken from the program's embedded copies.

#include <QSize>
#include <array>

#include "core/album_state.h"
#include "platform/png_overlay.h"

namespace leafsong {

struct Decorations {
    std::array<PngOverlay, 2> ShadowPng;  // 0: right-hand page, 1: left-hand page
    PngOverlay BorderPng;
    PngOverlay CoverPng;

    // The cover and the border: all a still spread needs.
    void LoadSpread();
    // The shading of the pages, needed from the first turn on.
    void LoadShadows();
    void Load() {
        LoadSpread();
        LoadShadows();
    }
    bool shadowsLoaded() const { return ShadowPng[0].isLoaded() || ShadowPng[1].isLoaded(); }
    // Scales what is loaded to the sizes the book draws it at, so that no frame waits for it.
    void Prepare(const BookGeometry& book, QSize page) const;
    void Release();
};

}  // namespace leafsong
