#pragma once
// The album's state: plain data, read and written by the modules that are handed it.

#include <QRect>
#include <QString>
#include <cstdint>
#include <optional>

namespace leafsong {

struct BookGeometry {
    int BookLeft = 0;
    int BookTop = 0;
    int BookWidth = 750;
    int BookHeight = 500;
    int LiftBase = 688;

    QRect rect() const { return {BookLeft, BookTop, BookWidth, BookHeight}; }
    // The cover lies 10 pixels wider on each side and 10 taller at the bottom.
    QRect coverRect() const { return {BookLeft - 10, BookTop, BookWidth + 20, BookHeight + 10}; }
};

// The book placed on a surface of W x H device pixels (halves to even).
BookGeometry PlaceBook(int W, int H);

struct AlbumState {
    QString PicturePath;
    QString BackGroundMusic;
    BookGeometry book;
    std::int16_t PageIndex = 0;
    bool AutoFlip = false;
    std::optional<float> LastMouseX;  // empty until the first button release
};

}  // namespace leafsong
