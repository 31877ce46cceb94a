#pragma once
// Lets a window close only when `mayClose` agrees (it may ask the user); otherwise the close
// request is refused and the window stays as it is.
#include <QObject>

#include <functional>

class QWidget;

class CloseGuard final : public QObject {
public:
    // Becomes a child of `window`.
    CloseGuard(QWidget *window, std::function<bool()> mayClose);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    std::function<bool()> m_mayClose;
};
