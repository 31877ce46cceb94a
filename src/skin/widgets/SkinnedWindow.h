#pragma once
// A borderless window covered by a background picture of the skin. The window takes the
// picture's outline: pixels of the colour of the picture's bottom-left pixel are cut out.
// Dragging the uncovered background moves the window; other widgets (a title label) can be made
// handles for moving it as well. A press on any other widget, enabled or not, never moves it.
#include "app/WindowMoveGesture.h"

#include <QBitmap>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <functional>

class SkinnedWindow : public QWidget {
    Q_OBJECT
public:
    explicit SkinnedWindow(const QString &backgroundName, QWidget *parent = nullptr);

    // The outline of a picture: every pixel except those of its bottom-left pixel's colour.
    static QBitmap outlineOf(const QImage &picture);

    // Dragging the widget with the left button moves this window.
    void addMoveHandle(QWidget *handle);
    // What starts the window manager's move (default: QWindow::startSystemMove).
    void setMoveStarter(std::function<void()> starter) { m_startMove = std::move(starter); }
    // Places the window in the middle of the desktop.
    void centreOnScreen();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void startMove();

    QString m_backgroundName;
    QImage m_background;
    WindowMoveGesture m_moveGesture;
    QList<const QObject *> m_moveHandles;
    std::function<void()> m_startMove;
};
