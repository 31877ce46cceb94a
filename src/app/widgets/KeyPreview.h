#pragma once
// Lets a window see every key pressed in it before the focused control does, without taking
// the key away from that control (the window's "key preview").
#include <QObject>
#include <QPointer>
#include <functional>

class QKeyEvent;
class QWidget;

class KeyPreview final : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const QKeyEvent &)>;

    // Watches the whole application for key presses aimed at `window` or one of its controls.
    KeyPreview(QWidget *window, Handler handler);
    ~KeyPreview() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isFirstDelivery(QWidget *receiver, const QKeyEvent &key);

    QWidget *m_window;
    Handler m_handler;
    // A key the focused control ignores travels on to its parents as the same event.
    const QKeyEvent *m_lastKey = nullptr;
    quint64 m_lastTimestamp = 0;
    QPointer<QWidget> m_lastReceiver;
};
