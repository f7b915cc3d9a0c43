#pragma once
// A translucent decoration picture drawn scaled (bicubic) and blended (source over), never into
// the see-through key colour.

#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>
#include <vector>

namespace leafsong {

class PngOverlay {
public:
    // Loads the picture, releasing the one held before; false when the file is missing or not a
    // picture (the overlay then draws nothing; width and height keep their old values).
    bool Load(const QString& fileName);

    // Drops the picture; later draws do nothing.
    void Release();

    // Draws the whole picture into (X, Y, W, h) of target, bicubic scaled and blended over it.
    // On an RGB32 target (the album's surface and pages) the key colour is kept apart: over a
    // key-colour pixel an overlay pixel is drawn opaque in its own colour when at least half
    // covers, and otherwise left see-through, so nothing shows blended with it; and no pixel
    // drawn comes out as the key colour. W == 0 takes the width from h and the picture's
    // aspect, h == 0 the height from W; the values used are written back. Nothing is drawn
    // without a picture or with an empty rectangle.
    void StretchDC(QImage& target, int X, int Y, int& W, int& h) const;

    // Draws the picture scaled to at's size into at of an RGB32 target as if every pixel there
    // had been the key colour (what StretchDC would draw after clearing it), one copy a row;
    // pixels inside skip are left alone (the caller covers them). False when nothing was drawn
    // (no picture).
    bool DrawOverKey(QImage& target, const QRect& at, const QRect& skip) const;

    // Scales the picture to size ahead of the first draw at that size (and of the first
    // DrawOverKey too when overKey is set).
    void Prepare(QSize size, bool overKey = false) const;

    int width() const { return width_; }
    int height() const { return height_; }
    bool isLoaded() const { return !image_.isNull(); }

private:
    // A run of pixels in one row of a scaling: opaque ones are copied, partly covering ones
    // blended, see-through ones (in no run) skipped.
    struct Span {
        int y = 0;
        int x = 0;
        int n = 0;
        bool opaque = false;
    };
    struct Scaled {
        QImage image;  // premultiplied ARGB; an opaque pixel is never the key colour
        std::vector<Span> spans;
        QImage overKey;  // RGB32: the picture drawn over the key colour, made at first use
    };
    Scaled& ScaledTo(const QSize& size) const;
    void MakeOverKey(Scaled& scaled) const;
    static void FindSpans(Scaled& scaled);

    QImage image_;  // premultiplied ARGB
    int width_ = 0;
    int height_ = 0;
    // The same decoration is drawn at the same size on every frame of a turn: keep the scalings.
    mutable QHash<quint64, Scaled> cache_;
};

}  // namespace leafsong
