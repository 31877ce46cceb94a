#pragma once
// When a press on a window's background becomes a window move: only once the pointer has gone
// the platform's drag distance with the left button still held. A click never moves the window
// (a move asked for on the press itself would outlast the release: the window manager takes the
// pointer only after the button has come up, and the window then follows it until the next click).
#include <QPoint>
#include <Qt>

#include <optional>

class WindowMoveGesture {
public:
    explicit WindowMoveGesture(int dragDistance) : m_dragDistance(dragDistance) {}

    // The left button went down on a place that may move the window (global position).
    void press(QPoint at) { m_pressedAt = at; }
    // The pointer moved with `buttons` held. True exactly once per press: start the move now.
    bool move(QPoint at, Qt::MouseButtons buttons);
    void release() { m_pressedAt.reset(); }
    bool isPressed() const { return m_pressedAt.has_value(); }

private:
    int m_dragDistance;
    std::optional<QPoint> m_pressedAt;
};
