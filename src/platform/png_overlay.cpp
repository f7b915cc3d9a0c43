#include "platform/png_overlay.h"

#include <stb/stb_image_resize.h>

#include <QImageReader>
#include <QPainter>
#include <QSysInfo>
#include <algorithm>

#include "common/nearest.h"

namespace leafsong {

namespace {

// Sizes kept per overlay; more only appear while the window is being resized.
constexpr qsizetype kCacheLimit = 4;

// Where alpha sits in a 32-bit ARGB pixel's bytes.
constexpr int kAlphaByte = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? 3 : 0;

quint64 CacheKey(const QSize& size) {
    return (static_cast<quint64>(static_cast<quint32>(size.width())) << 32) |
           static_cast<quint32>(size.height());
}

// Catmull-Rom overshoots at hard edges; a colour above its alpha is no valid premultiplied
// pixel and would brighten what it is blended over.
void ClampToAlpha(QImage& img) {
    for (int y = 0; y < img.height(); ++y) {
        auto* p = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int a = qAlpha(p[x]);
            p[x] = qRgba(std::min(qRed(p[x]), a), std::min(qGreen(p[x]), a),
                         std::min(qBlue(p[x]), a), a);
        }
    }
}

}  // namespace

bool PngOverlay::Load(const QString& fileName) {
    Release();
    QImageReader reader(fileName);
    QImage img = reader.read();
    if (img.isNull()) {
        return false;
    }
    image_ = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    image_.setDevicePixelRatio(1.0);
    width_ = image_.width();
    height_ = image_.height();
    return true;
}

void PngOverlay::Release() {
    image_ = QImage();
    cache_.clear();
}

void PngOverlay::StretchDC(QImage& target, int X, int Y, int& W, int& h) const {
    if (W == 0 && height_ > 0) {
        W = Nearest(static_cast<double>(static_cast<qint64>(width_) * h) / height_);
    }
    if (h == 0 && width_ > 0) {
        h = Nearest(static_cast<double>(static_cast<qint64>(height_) * W) / width_);
    }
    if (W <= 0 || h <= 0 || image_.isNull() || target.isNull()) {
        return;
    }
    const QImage& scaled = ScaledTo(QSize(W, h));
    if (scaled.isNull()) {
        return;
    }
    // Paint through a view of the target's pixels so that a device pixel ratio set on the
    // target cannot move or rescale the drawing: X, Y, W and h are pixels.
    QImage view(target.bits(), target.width(), target.height(), target.bytesPerLine(),
                target.format());
    QPainter painter(&view);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(X, Y, scaled);
}

const QImage& PngOverlay::ScaledTo(const QSize& size) const {
    const quint64 key = CacheKey(size);
    const auto hit = cache_.constFind(key);
    if (hit != cache_.constEnd()) {
        return *hit;
    }
    if (cache_.size() >= kCacheLimit) {
        cache_.clear();
    }
    if (size == image_.size()) {
        return *cache_.insert(key, image_);
    }
    QImage out(size, QImage::Format_ARGB32_Premultiplied);
    if (out.isNull()) {  // too large to allocate
        return *cache_.insert(key, out);
    }
    // Premultiplied pixels are resampled channel by channel; the flag keeps stb from weighting
    // the colours by alpha a second time.
    const int ok = stbir_resize_uint8_generic(
        image_.constBits(), image_.width(), image_.height(),
        static_cast<int>(image_.bytesPerLine()), out.bits(), out.width(), out.height(),
        static_cast<int>(out.bytesPerLine()), 4, kAlphaByte, STBIR_FLAG_ALPHA_PREMULTIPLIED,
        STBIR_EDGE_CLAMP, STBIR_FILTER_CATMULLROM, STBIR_COLORSPACE_LINEAR, nullptr);
    if (!ok) {
        out = QImage();
    } else {
        ClampToAlpha(out);
    }
    return *cache_.insert(key, out);
}

}  // namespace leafsong
