#include "book/page_buffer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFontMetricsF>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <cstring>

#include "common/nearest.h"
#include "platform/blit.h"
#include "platform/fonts.h"
#include "platform/log.h"
#include "platform/picture_header.h"

namespace leafsong {

namespace {
// Background of an empty page and under transparent picture pixels.
constexpr QRgb kPageBackground = qRgb(240, 240, 240);
// Around a picture whose proportions are kept.
constexpr QRgb kPaper = qRgb(255, 255, 255);
}  // namespace

QSize StoredSizeFor(QSize logical) {
    return {std::min(logical.width(), kPageSize.width()),
            std::min(logical.height(), kPageSize.height())};
}

QRect FittedRect(QSize logical) {
    const double scale = std::min(double(kPageSize.width()) / std::max(logical.width(), 1),
                                  double(kPageSize.height()) / std::max(logical.height(), 1));
    const int w = std::clamp(Nearest(logical.width() * scale), 1, kPageSize.width());
    const int h = std::clamp(Nearest(logical.height() * scale), 1, kPageSize.height());
    return {(kPageSize.width() - w) / 2, (kPageSize.height() - h) / 2, w, h};
}

std::optional<DecodedPicture> DecodePicture(const QString& path) {
    // Only plain files: opening a FIFO that wears a picture's name would wait for a writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    QFile file;
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0) {
            ::close(fd);
        }
        qCDebug(lcPages) << "unreadable picture" << path << "(not a readable plain file)";
        return std::nullopt;
    }
    // The header decides, before anything is decoded, which decoder reads the file and whether
    // decoding it fits the budget.
    const PictureHeader header = ReadPictureHeader(file);
    if (header.format == PictureFormat::Unknown || !file.seek(0)) {
        qCDebug(lcPages) << "unreadable picture" << path << "(no picture of a known format)";
        return std::nullopt;
    }
    QImageReader reader(&file, DecoderName(header.format));
    reader.setAutoDetectImageFormat(false);
    reader.setAllocationLimit(kAllocationLimitMb);
    reader.setAutoTransform(true);
    // Upright size after the file's orientation tag is applied.
    const bool turned = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    const QSize logical = turned ? header.size.transposed() : header.size;
    const QSize stored = StoredSizeFor(logical);
    const QSize target = turned ? stored.transposed() : stored;
    if (const qint64 cost = DecodeCost(header, target); cost > kDecodeBudget) {
        qCDebug(lcPages) << "unreadable picture" << path << "(decoding would need" << (cost >> 20)
                         << "MB)";
        return std::nullopt;
    }
    if (stored != logical) {
        reader.setScaledSize(target);
    }
    QImage image = reader.read();
    if (image.isNull()) {
        qCDebug(lcPages) << "unreadable picture" << path << reader.errorString();
        return std::nullopt;
    }
    // Readers may disagree with the header (a GIF's first frame against its screen): the page
    // always gets the size it was decoded for.
    if (image.size() != stored) {
        image = image.scaled(stored, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
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

void PageBuffer::Assign(const DecodedPicture& picture, bool keepProportions) {
    // The page is the picture as the book shows it, so what is drawn on it (the footer) reads
    // alike on pictures of any size.
    const QRect place =
        keepProportions ? FittedRect(picture.logical) : QRect(QPoint(0, 0), kPageSize);
    if (picture.image.size() == kPageSize && place.size() == kPageSize) {
        loaded_ = picture.image;
    } else if (keepProportions) {
        // The decoded image has each side clamped on its own, so its shape is not the picture's:
        // the logical size places it. Smooth, as a picture made smaller must not shimmer.
        loaded_ = QImage(kPageSize, QImage::Format_RGB32);
        loaded_.fill(kPaper);
        QPainter p(&loaded_);
        p.drawImage(place.topLeft(), picture.image.scaled(place.size(), Qt::IgnoreAspectRatio,
                                                          Qt::SmoothTransformation));
    } else {
        // Stretched nearest-pixel, as the book always stretched it.
        loaded_ = QImage(kPageSize, QImage::Format_RGB32);
        loaded_.fill(kPageBackground);
        StretchBlt(loaded_, QRect(QPoint(0, 0), kPageSize), picture.image,
                   QRectF(picture.image.rect()));
    }
    // The page is drawn on (page number, shading) in the memory of the page before, when that
    // is its own: no fresh memory for every picture shown.
    if (pixels_.isDetached() && pixels_.size() == loaded_.size() &&
        pixels_.format() == loaded_.format() && pixels_.bytesPerLine() == loaded_.bytesPerLine()) {
        std::memcpy(pixels_.bits(), loaded_.constBits(),
                    static_cast<size_t>(loaded_.sizeInBytes()));
    } else {
        pixels_ = loaded_;
    }
    text_.CurrentX = 0;
    text_.CurrentY = 0;
}

bool PageBuffer::Load(const QString& path, bool keepProportions) {
    const std::optional<DecodedPicture> picture = DecodePicture(path);
    if (!picture) {
        return false;
    }
    Assign(*picture, keepProportions);
    return true;
}

void PageBuffer::LoadEmpty(QSize size) {
    loaded_ = QImage(size, QImage::Format_RGB32);
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
    if (!pixels_.isNull()) {
        QPainter p(&pixels_);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setFont(font);
        p.setPen(text_.ForeColor);
        p.drawText(QPointF(text_.CurrentX, text_.CurrentY + metrics.ascent()), line);
    }
    text_.CurrentX = 0;
    text_.CurrentY += metrics.height();
}

void PageBuffer::BlitTo(QImage& dst, const QRect& dstRect, const QRectF& src) const {
    StretchBlt(dst, dstRect, pixels_, src);
}

}  // namespace leafsong
