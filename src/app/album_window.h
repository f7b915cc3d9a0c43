#pragma once
// The album's window: borderless, as large as the screen, showing the surface 1:1 in device
// pixels, see-through where the surface has the key colour. It moves itself when dragged with the
// left button; other input is forwarded, and what it means is decided by its owner.

#include <QCursor>
#include <QWidget>
#include <functional>

#include "app/key_gate.h"
#include "app/window_drag.h"
#include "platform/surface.h"
#include "platform/window_shape.h"
#include "platform/x11_shape.h"

namespace leafsong {

class AlbumWindow final : public QWidget {
public:
    AlbumWindow();

    // Moves the window to the screen's top-left corner, sizes it to the whole screen and the
    // surface to the screen's device pixels.
    void CoverScreen(QScreen* screen);
    Surface& surface() { return surface_; }
    qreal ratio() const { return ratio_; }

    std::function<void()> onCloseRequest;
    // A key released whose press the window saw.
    std::function<void(int key)> onKeyUp;
    // Mouse input, x in device pixels.
    std::function<void(bool rightAlone, QPoint global)> onMouseDown;
    std::function<void(float x)> onMouseUp;
    std::function<void()> onDoubleClick;
    // Local files dropped on the window, in the drop's order.
    std::function<void(const QStringList& paths)> onDropFiles;
    // Whether the page-turn pointer shows at x (the arrow otherwise).
    std::function<bool(float x)> pageTurnPointerAt;
    void setPageTurnCursor(const QCursor& cursor) { pageTurnCursor_ = cursor; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void Present(const QRect& changed);
    // Sends exactly these device pixels of the surface to the screen (later when hidden).
    void Paint(const QRegion& device);
    // The device pixels that widget coordinates cover.
    QRegion ToDevice(const QRegion& logical) const;

    Surface surface_;
    WindowShape shape_;
    X11Shape x11_;
    const QRegion* painting_ = nullptr;  // what Paint asks the paint event for
    WindowDrag drag_;
    KeyGate keys_;
    QCursor pageTurnCursor_;
    qreal ratio_ = 1.0;
};

}  // namespace leafsong
