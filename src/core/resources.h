#pragma once
// Names of what the program carries inside itself, and of the files it writes them to.

#include <array>

namespace leafsong {

// A file of the private temporary folder, with the embedded resource it is written from.
struct ResourceFile {
    const char* fileName;
    const char* resource;
};

// The book's four decoration pictures: right-page shading, left-page shading, border, cover.
inline constexpr std::array<ResourceFile, 4> kDecorationFiles{{
    {"ShadowR.png", ":/leafsong/ShadowR.png"},
    {"ShadowL.png", ":/leafsong/ShadowL.png"},
    {"Border.png", ":/leafsong/Border.png"},
    {"PageCover.png", ":/leafsong/PageCover.png"},
}};
inline constexpr ResourceFile kGreetingTune{"Birthday.mid", ":/leafsong/Birthday.mid"};
inline constexpr char kCursorResource[] = ":/leafsong/cursor.png";
inline constexpr char kIconResource[] = ":/leafsong/leafsong.png";
// The English texts, compiled from resources/translations at build time.
inline constexpr char kEnglishTexts[] = ":/leafsong/i18n/leafsong_en.qm";

// The program's desktop id: its installed desktop entry, icons and AppStream file are named so.
inline constexpr char kAppId[] = "org.harrowfen.Leafsong";

}  // namespace leafsong
