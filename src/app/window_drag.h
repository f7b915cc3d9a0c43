#pragma once
// Moving the borderless window with the left button: the window manager's move where there is
// one, otherwise the window follows the pointer's moves itself (as with no window manager).

#include <QPoint>
#include <QPointF>

class QWidget;

namespace leafsong {

class WindowDrag {
public:
    // A button went down at a global position.
    void Press(const QPointF& global);
    // The pointer moved with leftAlone (the left button and no other) held; true while it drags.
    bool Move(QWidget* window, bool leftAlone, const QPointF& global);
    void Release() { active_ = false; }
    bool active() const { return active_; }

private:
    bool active_ = false;
    bool bySystem_ = false;
    QPointF pressGlobal_;
    QPoint startPos_;
};

}  // namespace leafsong
