#pragma once
// Page buffers whose every stored pixel says which buffer, column and row it came from.

#include <QImage>
#include <QSize>

#include "pages/page_buffer.h"

namespace leafsong::test {

// No decoration or key colour has this bit set.
inline constexpr QRgb kPatternBit = 0x800000;

inline QRgb PatternPixel(int id, int x, int y) {
    return 0xff000000u | kPatternBit | QRgb(id & 3) << 19 | QRgb(y & 511) << 10 | QRgb(x & 1023);
}

struct PatternSource {
    int id = 0;  // 0 when the pixel is no buffer's
    int x = -1;  // stored column
    int y = -1;  // stored row
};

inline PatternSource SourceOf(QRgb p) {
    if ((p & kPatternBit) == 0) {
        return {};
    }
    return {int(p >> 19 & 3), int(p & 1023), int(p >> 10 & 511)};
}

// A buffer of the given logical size, stored as PageBuffer stores it, filled with the pattern.
inline PageBuffer PatternBuffer(int id, QSize logical) {
    PageBuffer pic;
    pic.LoadEmpty(logical);
    QImage& img = pic.pixels();
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            line[x] = PatternPixel(id, x, y);
        }
    }
    return pic;
}

}  // namespace leafsong::test
