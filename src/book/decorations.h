#pragma once
// The four decoration pictures of the book.

#include <QString>
#include <array>

#include "platform/png_overlay.h"

namespace leafsong {

struct Decorations {
    std::array<PngOverlay, 2> ShadowPng;  // 0: right-hand page, 1: left-hand page
    PngOverlay BorderPng;
    PngOverlay CoverPng;

    // Loads the four pictures from the folder under their file names (results are not needed: a
    // missing one draws nothing).
    void LoadFrom(const QString& folder);
    void Release();
};

}  // namespace leafsong
