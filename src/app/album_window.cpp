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
#include <algorithm>

#include "common/nearest.h"
#include "core/texts.h"

namespace leafsong {

AlbumWindow::AlbumWindow() {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAcceptDrops(true);
    setWindowTitle(UserText("leafsong::AlbumWindow", u"Leafsong 相册"));
    surface_ = Surface({}, [this](const QRect& changed) { Present(changed); });
}

void AlbumWindow::Present(const QRect& changed) {
    const std::vector<PresentStep> steps = shape_.Update(surface_.image(), changed);
    if (!x11_.available()) {
        // Without X only a widget mask is at hand, in the window's (possibly scaled) coordinates.
        const bool reshaped = std::any_of(steps.begin(), steps.end(), [](const PresentStep& s) {
            return s.kind != PresentStep::Kind::Paint;
        });
        if (reshaped) {
            QRegion shape = shape_.region();
            if (ratio_ != 1.0) {
                shape = QTransform::fromScale(1 / ratio_, 1 / ratio_).map(shape);
            }
            // An empty mask would mean no mask at all: keep one pixel instead.
            setMask(shape.isEmpty() ? QRegion(0, 0, 1, 1) : shape);
        }
        Paint(changed);
        return;
    }
    for (const PresentStep& step : steps) {
        switch (step.kind) {
            case PresentStep::Kind::Paint:
                Paint(step.region);
                break;
            case PresentStep::Kind::Grow:
                x11_.Grow(winId(), step.region);
                break;
            case PresentStep::Kind::Shrink:
                x11_.Shrink(winId(), step.region);
                break;
        }
    }
}

void AlbumWindow::Paint(const QRegion& device) {
    // Qt sends what it repaints as one request per rectangle of the region: one rectangle costs
    // the server far less than the hundreds of a leaf's outline. The paint event draws exactly
    // the device pixels; the rest of the box goes out as last sent, which changes nothing on
    // the screen. On a scaled desktop Qt rounds the widget's coordinates its own way: a pixel
    // more all round.
    const QRect box = device.boundingRect();
    const QRect logical = ratio_ == 1.0 ? box
                                        : QRectF(box.x() / ratio_, box.y() / ratio_,
                                                 box.width() / ratio_, box.height() / ratio_)
                                              .toAlignedRect()
                                              .adjusted(-1, -1, 1, 1);
    if (!isVisible()) {
        update(logical);  // painted whole when shown
        return;
    }
    // Painted and sent to the server at once, so that the shape requests that follow are taken
    // after these pixels and every frame of a turn reaches the screen.
    painting_ = &device;
    repaint(logical);
    painting_ = nullptr;
}

QRegion AlbumWindow::ToDevice(const QRegion& logical) const {
    if (ratio_ == 1.0) {
        return logical;
    }
    QRegion device;
    for (const QRect& r : logical) {
        device += QRectF(r.x() * ratio_, r.y() * ratio_, r.width() * ratio_, r.height() * ratio_)
                      .toAlignedRect();
    }
    return device;
}

void AlbumWindow::CoverScreen(QScreen* screen) {
    const QRect geometry = screen->geometry();
    ratio_ = screen->devicePixelRatio();
    setGeometry(geometry);
    surface_.Resize(QSize(Nearest(geometry.width() * ratio_), Nearest(geometry.height() * ratio_)));
    shape_ = WindowShape();
    if (x11_.available()) {
        // The native window from here on, see-through until the first frame is presented.
        x11_.Clear(winId());
    }
}

void AlbumWindow::paintEvent(QPaintEvent* event) {
    const QImage& image = surface_.image();
    if (image.isNull()) {
        return;
    }
    // A present asks for exactly its pixels: a neighbour sent too early could show the key
    // colour inside the shape. Exposures take what Qt asks for.
    const QRegion device = painting_ ? *painting_ : ToDevice(event->region());
    QPainter p(this);
    // Device pixels, 1:1, on a scaled desktop too.
    p.setWorldTransform(QTransform::fromScale(1 / ratio_, 1 / ratio_));
    for (const QRect& r : device) {
        p.drawImage(r.topLeft(), image, r);
    }
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
