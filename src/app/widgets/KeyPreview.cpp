#include "app/widgets/KeyPreview.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

KeyPreview::KeyPreview(QWidget *window, Handler handler)
    : QObject(window), m_window(window), m_handler(std::move(handler))
{
    QCoreApplication::instance()->installEventFilter(this);
}

KeyPreview::~KeyPreview()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool KeyPreview::isFirstDelivery(QWidget *receiver, const QKeyEvent &key)
{
    const bool sameEvent = &key == m_lastKey && key.timestamp() == m_lastTimestamp;
    const bool passedUp = sameEvent && m_lastReceiver && receiver != m_lastReceiver
                          && receiver->isAncestorOf(m_lastReceiver);
    m_lastKey = &key;
    m_lastTimestamp = key.timestamp();
    m_lastReceiver = receiver;
    return !passedUp;
}

bool KeyPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto *receiver = static_cast<QWidget *>(watched);
    if (receiver != m_window && !m_window->isAncestorOf(receiver))
        return false;
    const auto &key = static_cast<const QKeyEvent &>(*event);
    if (m_window->isEnabled() && isFirstDelivery(receiver, key))
        m_handler(key);
    return false;   // the focused control still gets the key
}
