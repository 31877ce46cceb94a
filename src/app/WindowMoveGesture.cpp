#include "app/WindowMoveGesture.h"

bool WindowMoveGesture::move(QPoint at, Qt::MouseButtons buttons)
{
    if (!m_pressedAt)
        return false;
    if (!(buttons & Qt::LeftButton)) {
        m_pressedAt.reset();   // the release went elsewhere
        return false;
    }
    if ((at - *m_pressedAt).manhattanLength() < m_dragDistance)
        return false;
    m_pressedAt.reset();
    return true;
}
