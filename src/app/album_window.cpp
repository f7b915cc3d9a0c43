#include "app/album_window.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QTransform>
#include <QUrl>

#include "common/nearest.h"

namespace leafsong {

AlbumWindow::AlbumWindow() {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAcceptDrops(true);
    setWindowTitle(QStringLiteral("Leafsong 相册"));
    surface_ = Surface({}, [this](const QRect& changed) { Present(changed); });
}

void AlbumWindow::Present(const QRect& changed) {
    if (shape_.Update(surface_.image(), changed)) {
        QRegion shape = shape_.region();
        if (ratio_ != 1.0) {
            shape = QTransform::fromScale(1 / ratio_, 1 / ratio_).map(shape);
        }
        // An empty mask would mean no mask at all: keep one pixel instead.
        setMask(shape.isEmpty() ? QRegion(0, 0, 1, 1) : shape);
    }
    // Device pixels to the widget's (possibly scaled) coordinates, rounded outwards.
    const QRectF logical(changed.x() / ratio_, changed.y() / ratio_, changed.width() / ratio_,
                         changed.height() / ratio_);
    // Painted at once, so that every frame of a turn reaches the screen.
    if (isVisible()) {
        repaint(logical.toAlignedRect());
    } else {
        update(logical.toAlignedRect());
    }
}

void AlbumWindow::CoverScreen(QScreen* screen) {
    const QRect geometry = screen->geometry();
    ratio_ = screen->devicePixelRatio();
    setGeometry(geometry);
    surface_.Resize(QSize(Nearest(geometry.width() * ratio_), Nearest(geometry.height() * ratio_)));
}

void AlbumWindow::paintEvent(QPaintEvent* event) {
    const QImage& image = surface_.image();
    if (image.isNull()) {
        return;
    }
    // A view of the surface that Qt draws 1:1 onto device pixels.
    QImage view(image.constBits(), image.width(), image.height(), image.bytesPerLine(),
                image.format());
    view.setDevicePixelRatio(ratio_);
    QPainter p(this);
    const QRect r = event->rect();
    const QRectF source(r.x() * ratio_, r.y() * ratio_, r.width() * ratio_, r.height() * ratio_);
    p.drawImage(QRectF(r), view, source);
}

void AlbumWindow::closeEvent(QCloseEvent* event) {
    // The album ends only through its own shutdown, which closes the window itself.
    event->ignore();
    if (onCloseRequest) {
        onCloseRequest();
    }
}

void AlbumWindow::keyPressEvent(QKeyEvent* event) {
    keys_.Press(event->key(), event->isAutoRepeat());
}

void AlbumWindow::keyReleaseEvent(QKeyEvent* event) {
    if (keys_.Release(event->key(), event->isAutoRepeat()) && onKeyUp) {
        onKeyUp(event->key());
    }
}

void AlbumWindow::mousePressEvent(QMouseEvent* event) {
    drag_.Press(event->globalPosition());
    if (onMouseDown) {
        onMouseDown(event->buttons() == Qt::RightButton, event->globalPosition().toPoint());
    }
}

void AlbumWindow::mouseMoveEvent(QMouseEvent* event) {
    if (drag_.Move(this, event->buttons() == Qt::LeftButton, event->globalPosition())) {
        return;
    }
    const float x = float(event->position().x() * ratio_);
    const bool pageTurn = pageTurnPointerAt && pageTurnPointerAt(x);
    setCursor(pageTurn ? pageTurnCursor_ : QCursor(Qt::ArrowCursor));
}

void AlbumWindow::mouseReleaseEvent(QMouseEvent* event) {
    drag_.Release();
    if (onMouseUp) {
        onMouseUp(float(event->position().x() * ratio_));
    }
}

void AlbumWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    drag_.Press(event->globalPosition());
    if (event->button() == Qt::LeftButton && onDoubleClick) {
        onDoubleClick();
    }
}

void AlbumWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void AlbumWindow::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        // Remote addresses are not the album's to fetch.
        if (url.isLocalFile()) {
            paths << url.toLocalFile();
        }
    }
    event->acceptProposedAction();
    if (onDropFiles) {
        onDropFiles(paths);
    }
}

void AlbumWindow::focusOutEvent(QFocusEvent* event) {
    keys_.Reset();
    QWidget::focusOutEvent(event);
}

}  // namespace leafsong
