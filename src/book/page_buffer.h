#pragma once
// A page buffer: one picture as the book shows it, 750 x 500 pixels whatever the file's size, plus
// what is drawn on it (text, shading) until the next load.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>
#include <optional>

namespace leafsong {

// A page: the book's size in device pixels, drawn onto the book 1:1. Pictures are decoded at most
// this large.
inline constexpr QSize kPageSize{750, 500};
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
    QImage image;   // RGB32, at most kPageSize
    QSize logical;  // the picture's own size
};

// Decodes a picture file (scaled while decoding when larger than kPageSize); nothing when it is
// missing, not a plain file, not a picture of a known format, or would need more than
// kDecodeBudget to decode (decided from its header, before decoding). Safe to call from any
// thread.
std::optional<DecodedPicture> DecodePicture(const QString& path);

class PageBuffer {
public:
    // Takes a decoded picture onto a kPageSize page (a small one scaled up): stretched over the
    // whole page, or with keepProportions as large as fits with its own aspect ratio, centred on
    // white paper. Everything drawn before is dropped.
    void Assign(const DecodedPicture& picture, bool keepProportions);

    // Decodes the picture and takes it as Assign does. On failure (missing, empty, not a
    // picture, over the reader's limit) the buffer is left as it was.
    bool Load(const QString& path, bool keepProportions = false);

    // Makes the buffer an empty page of the given size (background RGB(240,240,240)).
    void LoadEmpty(QSize size);

    // Erases what was drawn since the load; the picture stays and the position goes to (0, 0).
    void ClearText();

    // Draws one line at (CurrentX, CurrentY), in the page's pixels, with the text state, then
    // moves to the start of the next line.
    void Print(const QString& line);

    // Copies src (in the page's pixels) nearest-pixel into dstRect of dst.
    void BlitTo(QImage& dst, const QRect& dstRect, const QRectF& src) const;

    // The page's size in pixels: kPageSize once a picture is loaded.
    QSize logicalSize() const { return pixels_.size(); }
    double ScaleWidth() const { return pixels_.width(); }
    double ScaleHeight() const { return pixels_.height(); }
    bool isEmpty() const { return pixels_.isNull(); }
    TextState& text() { return text_; }
    const TextState& text() const { return text_; }
    // The page's pixels (picture and drawings).
    QImage& pixels() { return pixels_; }
    const QImage& pixels() const { return pixels_; }

private:
    QImage loaded_;  // the page as loaded, for ClearText
    QImage pixels_;
    TextState text_;
};

// The size a picture of size logical is decoded at: each side at most the page's.
QSize StoredSizeFor(QSize logical);

// Where a picture of size logical stands on the page with its proportions kept: as large as fits,
// centred, at least one pixel each way.
QRect FittedRect(QSize logical);

}  // namespace leafsong
