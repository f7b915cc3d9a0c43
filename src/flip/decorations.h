#pragma once
// The four decoration pictures of the book and the temporary files they come from.

#include <QString>
#include <array>

#include "platform/png_overlay.h"

namespace leafsong {

struct Decorations {
    std::array<PngOverlay, 2> ShadowPng;  // 0: right-hand page, 1: left-hand page
    PngOverlay BorderPng;
    PngOverlay CoverPng;

    // Loads the four pictures from the folder (results are not needed: a missing one draws
    // nothing).
    void LoadFrom(const QString& folder);
    void Release();
};

// File names in the temporary folder, with the embedded resource each one is written from.
struct DecorationFile {
    const char* fileName;
    const char* resource;
};
inline constexpr std::array<DecorationFile, 4> kDecorationFiles{{
    {"ShadowR.png", ":/leafsong/ShadowR.png"},
    {"ShadowL.png", ":/leafsong/ShadowL.png"},
    {"Border.png", ":/leafsong/Border.png"},
    {"PageCover.png", ":/leafsong/PageCover.png"},
}};
inline constexpr DecorationFile kGreetingTune{"Birthday.mid", ":/leafsong/Birthday.mid"};
inline constexpr char kCursorResource[] = ":/leafsong/cursor.png";
inline constexpr char kIconResource[] = ":/leafsong/leafsong.png";

}  // namespace leafsong
