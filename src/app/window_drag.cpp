#include "app/window_drag.h"

#include <QWidget>
#include <QWindow>

namespace leafsong {

void WindowDrag::Press(const QPointF& global) {
    pressGlobal_ = global;
    active_ = false;
}

bool WindowDrag::Move(QWidget* window, bool leftAlone, const QPointF& global) {
    if (!leftAlone) {
        active_ = false;
        return false;
    }
    if (!active_) {
        active_ = true;
        QWindow* handle = window->windowHandle();
        bySystem_ = handle && handle->startSystemMove();
        startPos_ = window->pos();
    }
    if (!bySystem_) {
        window->move(startPos_ + (global - pressGlobal_).toPoint());
    }
    return true;
}

}  // namespace leafsong
