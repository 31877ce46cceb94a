#pragma once
// One of the timeline's two markers: a 19-pixel handle with the hand cursor that is dragged
// along the timeline like a splitter. It paints its picture stretched over its whole area, the
// picture's black pixels in the marker's background colour, whenever Qt asks it to paint, and
// a thin frame while it has the keyboard focus. A click gives it the focus and nothing else:
// the mouse must pass the drag distance before the marker moves. With the focus, Left and
// Right (Shift: further) ask for it to be moved by keys.
#include <QImage>
#include <QWidget>

class MarkerSplitter final : public QWidget {
    Q_OBJECT
public:
    explicit MarkerSplitter(QWidget *parent = nullptr);

    // The picture and the colour that stands in for its black pixels.
    void setPicture(const QImage &picture, const QColor &background);
    const QImage &shownPicture() const { return m_shown; }

Q_SIGNALS:
    // The left button went down on the marker.
    void pressed();
    // The mouse moved with the left button held since `pressed`; `dx` pixels from where it went down.
    void dragged(int dx);
    // The left button was released after a drag (never after a plain click).
    void released();
    // A key asks for the marker to move by `seconds`.
    void nudged(int seconds);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QImage m_shown;
    QColor m_background;
    bool m_dragging = false; // the left button went down on the marker and is held
    bool m_moved = false;    // and the mouse has passed the drag distance since
    qreal m_pressX = 0;
};

// `picture` with every opaque black pixel in `background`; other pixels stay as they are.
QImage WithBlackAs(const QImage &picture, const QColor &background);
