#pragma once
// A page buffer: one picture at its logical (file) size, stored only at the resolution the book
// needs, plus what is drawn on it (text, shading) until the next load.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>
#include <optional>

namespace leafsong {

// Largest size a picture is stored at: the book's size in device pixels.
inline constexpr QSize kStoredLimit{750, 500};
// The most memory one decode may take: a valid 50-megapixel BMP (decoded whole, about 200 MB)
// fits; a picture that would need more counts as unreadable.
inline constexpr qint64 kDecodeBudget = qint64(256) << 20;
// The reader's own limit on any image it allocates, the same budget once more.
inline constexpr int kAllocationLimitMb = 256;

// Text state kept per buffer between prints.
struct TextState {
    double CurrentX = 0;
    double CurrentY = 0;
    QColor ForeColor = QColor(0, 0, 0);
    double FontSize = 8.25;  // points, shown at 96 dpi
    bool FontBold = false;
};

// A picture decoded at the resolution the book needs.
struct DecodedPicture {
    QImage image;   // RGB32, at most kStoredLimit
    QSize logical;  // the picture's own size
};

// Decodes a picture file (scaled while decoding when larger than kStoredLimit); nothing when it is
// missing, not a plain file, not a picture of a known format, or would need more than
// kDecodeBudget to decode (decided from its header, before decoding). Safe to call from any
// thread.
std::optional<DecodedPicture> DecodePicture(const QString& path);

class PageBuffer {
public:
    // Takes a decoded picture; everything drawn before is dropped.
    void Assign(const DecodedPicture& picture);

    // Decodes the picture (scaled while decoding when larger than kStoredLimit). On success the
    // buffer takes the picture's logical size and drops everything drawn before; on failure
    // (missing, empty, not a picture, over the reader's limit) it is left as it was.
    bool Load(const QString& path);

    // Makes the buffer an empty page of the given size (background RGB(240,240,240)).
    void LoadEmpty(QSize logicalSize);

    // Erases what was drawn since the load; the picture stays and the position goes to (0, 0).
    void ClearText();

    // Draws one line at (CurrentX, CurrentY) in logical pixels with the text state, then moves to
    // the start of the next line.
    void Print(const QString& line);

    // Copies logicalSrc (in the picture's logical pixels) nearest-pixel into dstRect of dst.
    void BlitTo(QImage& dst, const QRect& dstRect, const QRectF& logicalSrc) const;

    QSize logicalSize() const { return logical_; }
    double ScaleWidth() const { return logical_.width(); }
    double ScaleHeight() const { return logical_.height(); }
    bool isEmpty() const { return logical_.isEmpty(); }
    TextState& text() { return text_; }
    const TextState& text() const { return text_; }
    // The stored pixels (picture and drawings), at most kStoredLimit for a loaded picture.
    QImage& pixels() { return pixels_; }
    const QImage& pixels() const { return pixels_; }

private:
    QImage loaded_;  // the picture as decoded, for ClearText
    QImage pixels_;
    QSize logical_;
    TextState text_;
};

// The size a picture of logical size is stored at.
QSize StoredSizeFor(QSize logical);

}  // namespace leafsong
