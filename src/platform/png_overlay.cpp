#include "platform/png_overlay.h"

#include <stb/stb_image_resize.h>

#include <QImageReader>
#include <QPainter>
#include <QSysInfo>
#include <algorithm>
#include <cstring>

#include "common/nearest.h"
#include "platform/surface.h"

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

bool IsKey(QRgb p) {
    return (p & 0xffffffU) == (kKeyColour & 0xffffffU);
}

// An opaque pixel that shows: never the key colour, one step of blue off it at most.
QRgb Shown(int r, int g, int b) {
    const QRgb p = qRgb(r, g, b);
    return IsKey(p) ? qRgb(r, g, b + 1) : p;
}

// x * a / 255, rounded as Qt's own blending rounds it.
int MulDiv255(int x, int a) {
    const int t = x * a + 128;
    return (t + (t >> 8)) >> 8;
}

// The premultiplied overlay pixel s drawn over the opaque pixel d.
QRgb Over(QRgb s, QRgb d) {
    const int a = qAlpha(s);
    if (a == 0) {
        return d;
    }
    if (IsKey(d)) {
        // Nothing lies beneath but the desktop; a blend would show as a navy-tinted pixel.
        if (a < 128) {
            return d;
        }
        const QRgb own = qUnpremultiply(s);
        return Shown(qRed(own), qGreen(own), qBlue(own));
    }
    const int rest = 255 - a;
    return Shown(qRed(s) + MulDiv255(qRed(d), rest), qGreen(s) + MulDiv255(qGreen(d), rest),
                 qBlue(s) + MulDiv255(qBlue(d), rest));
}

}  // namespace

bool PngOverlay::Load(const QString& fileName) {
    Release();
    QImageReader reader(fileName);
    QImage img = reader.read();
    if (img.isNull()) {
        return false;
    }
    // In place where the decoder gave straight ARGB: no second copy of the picture.
    img.convertTo(QImage::Format_ARGB32_Premultiplied);
    image_ = std::move(img);
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
    const Scaled& scaled = ScaledTo(QSize(W, h));
    if (scaled.image.isNull()) {
        return;
    }
    if (target.format() != QImage::Format_RGB32) {
        // Not an album surface or page: no key colour to keep apart, a plain blend.
        QImage view(target.bits(), target.width(), target.height(), target.bytesPerLine(),
                    target.format());
        QPainter(&view).drawImage(X, Y, scaled.image);
        return;
    }
    // X, Y, W and h are pixels, whatever device pixel ratio the target carries.
    uchar* bits = target.bits();
    const qsizetype stride = target.bytesPerLine();
    for (const Span& span : scaled.spans) {
        const int y = Y + span.y;
        const int x0 = std::max(X + span.x, 0);
        const int x1 = std::min(X + span.x + span.n, target.width());
        if (y < 0 || y >= target.height() || x0 >= x1) {
            continue;
        }
        auto* d = reinterpret_cast<QRgb*>(bits + y * stride);
        const auto* src = reinterpret_cast<const QRgb*>(scaled.image.constScanLine(span.y));
        if (span.opaque) {
            std::memcpy(d + x0, src + (x0 - X), static_cast<size_t>(x1 - x0) * sizeof(QRgb));
            continue;
        }
        for (int x = x0; x < x1; ++x) {
            d[x] = Over(src[x - X], d[x]);
        }
    }
}

bool PngOverlay::DrawOverKey(QImage& target, const QRect& at, const QRect& skip) const {
    if (at.isEmpty() || image_.isNull() || target.format() != QImage::Format_RGB32) {
        return false;
    }
    Scaled& scaled = ScaledTo(at.size());
    MakeOverKey(scaled);
    if (scaled.overKey.isNull()) {
        return false;
    }
    const QRect area = at.intersected(target.rect());
    const QRect hole = skip.intersected(area);
    uchar* bits = target.bits();
    const qsizetype stride = target.bytesPerLine();
    auto copy = [&](int y, int x0, int x1) {
        if (x0 < x1) {
            std::memcpy(reinterpret_cast<QRgb*>(bits + y * stride) + x0,
                        reinterpret_cast<const QRgb*>(scaled.overKey.constScanLine(y - at.y())) +
                            (x0 - at.x()),
                        static_cast<size_t>(x1 - x0) * sizeof(QRgb));
        }
    };
    for (int y = area.top(); y <= area.bottom(); ++y) {
        if (hole.isEmpty() || y < hole.top() || y > hole.bottom()) {
            copy(y, area.left(), area.right() + 1);
        } else {
            copy(y, area.left(), hole.left());
            copy(y, hole.right() + 1, area.right() + 1);
        }
    }
    return true;
}

void PngOverlay::Prepare(QSize size, bool overKey) const {
    if (image_.isNull() || size.isEmpty()) {
        return;
    }
    Scaled& scaled = ScaledTo(size);
    if (overKey) {
        MakeOverKey(scaled);
    }
}

void PngOverlay::MakeOverKey(Scaled& scaled) const {
    if (!scaled.overKey.isNull() || scaled.image.isNull()) {
        return;
    }
    QImage over(scaled.image.size(), QImage::Format_RGB32);
    if (over.isNull()) {
        return;
    }
    over.fill(kKeyColour);
    int w = over.width();
    int h = over.height();
    StretchDC(over, 0, 0, w, h);
    scaled.overKey = std::move(over);
}

PngOverlay::Scaled& PngOverlay::ScaledTo(const QSize& size) const {
    const quint64 key = CacheKey(size);
    const auto hit = cache_.find(key);
    if (hit != cache_.end()) {
        return *hit;
    }
    if (cache_.size() >= kCacheLimit) {
        cache_.clear();
    }
    Scaled& scaled = *cache_.insert(key, Scaled());
    if (size == image_.size()) {
        scaled.image = image_;
    } else {
        QImage out(size, QImage::Format_ARGB32_Premultiplied);
        if (out.isNull()) {  // too large to allocate
            return scaled;
        }
        // Premultiplied pixels are resampled channel by channel; the flag keeps stb from
        // weighting the colours by alpha a second time.
        const int ok = stbir_resize_uint8_generic(
            image_.constBits(), image_.width(), image_.height(),
            static_cast<int>(image_.bytesPerLine()), out.bits(), out.width(), out.height(),
            static_cast<int>(out.bytesPerLine()), 4, kAlphaByte, STBIR_FLAG_ALPHA_PREMULTIPLIED,
            STBIR_EDGE_CLAMP, STBIR_FILTER_CATMULLROM, STBIR_COLORSPACE_LINEAR, nullptr);
        if (!ok) {
            return scaled;
        }
        ClampToAlpha(out);
        scaled.image = std::move(out);
    }
    FindSpans(scaled);
    return scaled;
}

void PngOverlay::FindSpans(Scaled& scaled) {
    QImage& img = scaled.image;
    enum Cover { kNone, kPart, kFull };
    auto cover = [](QRgb p) {
        const int a = qAlpha(p);
        return a == 0 ? kNone : (a == 255 ? kFull : kPart);
    };
    for (int y = 0; y < img.height(); ++y) {
        auto* p = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width();) {
            const Cover kind = cover(p[x]);
            int end = x + 1;
            while (end < img.width() && cover(p[end]) == kind) {
                ++end;
            }
            if (kind == kFull) {
                // Copied as they are, they must not turn see-through.
                for (int i = x; i < end; ++i) {
                    p[i] = Shown(qRed(p[i]), qGreen(p[i]), qBlue(p[i]));
                }
            }
            if (kind != kNone) {
                scaled.spans.push_back({y, x, end - x, kind == kFull});
            }
            x = end;
        }
    }
}

}  // namespace leafsong
