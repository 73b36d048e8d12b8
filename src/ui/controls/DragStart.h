#pragma once
// When a mouse move turns a press into a drag: the left button, pressed
// where a drag may start, has moved the platform's drag distance. The press
// is then used up, so that one press starts one drag at most.

#include <QApplication>
#include <QMouseEvent>
#include <QPoint>

#include <optional>

namespace ch {

inline bool dragStarts(const QMouseEvent& move, std::optional<QPoint>& pressedAt)
{
    if (!pressedAt || !(move.buttons() & Qt::LeftButton) ||
        (move.position().toPoint() - *pressedAt).manhattanLength() < QApplication::startDragDistance())
        return false;
    pressedAt.reset();
    return true;
}

} // namespace ch
