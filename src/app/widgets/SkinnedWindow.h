#pragma once
// A borderless window covered by a background picture of the skin. The window takes the
// picture's outline: pixels of the colour of the picture's bottom-left pixel are cut out.
// Pressing the mouse on the uncovered background moves the window; other widgets (a title
// label) can be made handles for moving it as well.
#include <QBitmap>
#include <QImage>
#include <QPixmap>
#include <QWidget>

class SkinnedWindow : public QWidget {
    Q_OBJECT
public:
    explicit SkinnedWindow(const QString &backgroundName, QWidget *parent = nullptr);

    // The outline of a picture: every pixel except those of its bottom-left pixel's colour.
    static QBitmap outlineOf(const QImage &picture);

    // Pressing the left mouse button on the widget, or moving over it with the button held,
    // moves this window.
    void addMoveHandle(QWidget *handle);
    // Places the window in the middle of the desktop.
    void centreOnScreen();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void startMove();

    QString m_backgroundName;
    QImage m_background;
};
