#pragma once
// A translucent decoration picture drawn scaled (bicubic) and blended (source over).

#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>

namespace leafsong {

class PngOverlay {
public:
    // Loads the picture, releasing the one held before; false when the file is missing or not a
    // picture (the overlay then draws nothing; width and height keep their old values).
    bool Load(const QString& fileName);

    // Drops the picture; later draws do nothing.
    void Release();

    // Draws the whole picture into (X, Y, W, h) of target, bicubic scaled and blended over it.
    // W == 0 takes the width from h and the picture's aspect, h == 0 the height from W; the values
    // used are written back. Nothing is drawn without a picture or with an empty rectangle.
    void StretchDC(QImage& target, int X, int Y, int& W, int& h) const;

    int width() const { return width_; }
    int height() const { return height_; }
    bool isLoaded() const { return !image_.isNull(); }

private:
    const QImage& ScaledTo(const QSize& size) const;

    QImage image_;  // premultiplied ARGB
    int width_ = 0;
    int height_ = 0;
    // The same decoration is drawn at the same size on every frame of a turn: keep the scalings.
    mutable QHash<quint64, QImage> cache_;
};

}  // namespace leafsong
