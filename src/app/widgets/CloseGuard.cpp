#include "app/widgets/CloseGuard.h"

#include <QEvent>
#include <QWidget>

CloseGuard::CloseGuard(QWidget *window, std::function<bool()> mayClose)
    : QObject(window), m_window(window), m_mayClose(std::move(mayClose))
{
    window->installEventFilter(this);
}

bool CloseGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window || event->type() != QEvent::Close || m_mayClose())
        return false;
    event->ignore();
    return true;
}
