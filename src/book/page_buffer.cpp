#include "book/page_buffer.h"

#include <QFontMetricsF>
#include <QImageReader>
#include <QPainter>
#include <algorithm>

#include "platform/blit.h"
#include "platform/fonts.h"
#include "platform/log.h"

namespace leafsong {

namespace {
// Background of an empty page and under transparent picture pixels.
constexpr QRgb kPageBackground = qRgb(240, 240, 240);
}  // namespace

QSize StoredSizeFor(QSize logical) {
    return {std::min(logical.width(), kStoredLimit.width()),
            std::min(logical.height(), kStoredLimit.height())};
}

std::optional<DecodedPicture> DecodePicture(const QString& path) {
    QImageReader reader(path);
    reader.setAllocationLimit(kAllocationLimitMb);
    reader.setAutoTransform(true);
    const QSize fileSize = reader.size();
    if (!fileSize.isValid() || fileSize.isEmpty()) {
        qCDebug(lcPages) << "unreadable picture" << path << reader.errorString();
        return std::nullopt;
    }
    // Upright size after the file's orientation tag is applied.
    const bool turned = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    const QSize logical = turned ? fileSize.transposed() : fileSize;
    const QSize stored = StoredSizeFor(logical);
    if (stored != logical) {
        reader.setScaledSize(turned ? stored.transposed() : stored);
    }
    QImage image = reader.read();
    if (image.isNull()) {
        qCDebug(lcPages) << "unreadable picture" << path << reader.errorString();
        return std::nullopt;
    }
    if (image.hasAlphaChannel()) {
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(kPageBackground);
        QPainter p(&flat);
        p.drawImage(0, 0, image);
        p.end();
        image = std::move(flat);
    } else {
        image = std::move(image).convertToFormat(QImage::Format_RGB32);
    }
    return DecodedPicture{std::move(image), logical};
}

void PageBuffer::Assign(const DecodedPicture& picture) {
    loaded_ = picture.image;
    pixels_ = picture.image;
    logical_ = picture.logical;
    text_.CurrentX = 0;
    text_.CurrentY = 0;
}

bool PageBuffer::Load(const QString& path) {
    const std::optional<DecodedPicture> picture = DecodePicture(path);
    if (!picture) {
        return false;
    }
    Assign(*picture);
    return true;
}

void PageBuffer::LoadEmpty(QSize logicalSize) {
    logical_ = logicalSize;
    loaded_ = QImage(StoredSizeFor(logicalSize), QImage::Format_RGB32);
    loaded_.fill(kPageBackground);
    pixels_ = loaded_;
    text_.CurrentX = 0;
    text_.CurrentY = 0;
}

void PageBuffer::ClearText() {
    pixels_ = loaded_;
    text_.CurrentX = 0;
    text_.CurrentY = 0;
}

void PageBuffer::Print(const QString& line) {
    const QFont font = PageFont(text_.FontSize, text_.FontBold);
    const QFontMetricsF metrics(font);
    if (!pixels_.isNull() && !logical_.isEmpty()) {
        QPainter p(&pixels_);
        p.setRenderHint(QPainter::TextAntialiasing);
        // Text is placed in the picture's own pixels and shrinks with the stored copy.
        p.scale(double(pixels_.width()) / logical_.width(),
                double(pixels_.height()) / logical_.height());
        p.setFont(font);
        p.setPen(text_.ForeColor);
        p.drawText(QPointF(text_.CurrentX, text_.CurrentY + metrics.ascent()), line);
    }
    text_.CurrentX = 0;
    text_.CurrentY += metrics.height();
}

void PageBuffer::BlitTo(QImage& dst, const QRect& dstRect, const QRectF& logicalSrc) const {
    if (pixels_.isNull() || logical_.isEmpty()) {
        return;
    }
    const double sx = double(pixels_.width()) / logical_.width();
    const double sy = double(pixels_.height()) / logical_.height();
    StretchBlt(dst, dstRect, pixels_,
               QRectF(logicalSrc.x() * sx, logicalSrc.y() * sy, logicalSrc.width() * sx,
                      logicalSrc.height() * sy));
}

}  // namespace leafsong
