#pragma once
// The timeline under the video window (Panel1, 260 × 19): from left to right the left filler
// (Panel2), the start marker (Splitter1), the selected span (Panel4), the end marker (Splitter2)
// and the right filler (Panel3), with a thin playhead line over the fillers and the span (under
// the markers) while a file is loaded in the preview. It lays its parts out from the marker
// times and shows the position it is given, and reports what the user does with the mouse and
// with the keys on a focused marker; what that means for the rows is SegmentSelection's. A click anywhere on it
// gives it (or the clicked marker) the keyboard focus.
#include "media/SegmentMarkers.h"

#include <QPixmap>
#include <QWidget>

class MarkerSplitter;
class QLabel;

class TimelinePanel final : public QWidget {
    Q_OBJECT
public:
    explicit TimelinePanel(QWidget *parent = nullptr);

    // Pictures of the fillers and the span (stretched), of the markers (black pixels in the
    // markers' background colour), and the colours of the strip and of the markers' background.
    struct Pictures {
        QPixmap filler;
        QPixmap span;
        QImage startMarker;
        QImage endMarker;
        QColor background;
        QColor markerBackground;
        QColor playhead = Qt::white;
    };
    void setPictures(const Pictures &pictures);

    // Places the markers at `markers` (see SegmentMarkers::LayOutTimeline).
    void setMarkers(const SegmentMarkers::MarkerTimes &markers);
    // The playhead at `position` of a file of `duration` (milliseconds); hidden for a duration
    // of 0 (nothing loaded).
    void setPlayhead(qint64 position, qint64 duration);
    QWidget *playhead() const { return m_playhead; }

    QWidget *Panel2() const;
    MarkerSplitter *Splitter1() const { return m_splitter1; }
    QWidget *Panel4() const;
    MarkerSplitter *Splitter2() const { return m_splitter2; }
    QWidget *Panel3() const;

Q_SIGNALS:
    // The start marker is being dragged: the left filler width it asks for.
    void startMarkerDragged(int leftFillerWidth);
    void startMarkerReleased();
    // The end marker is being dragged: the right filler width it asks for.
    void endMarkerDragged(int rightFillerWidth);
    void endMarkerReleased();
    // A key on the focused start or end marker asks for it to move by `seconds`.
    void startMarkerNudged(int seconds);
    void endMarkerNudged(int seconds);
    // A mouse button went down on the left or the right filler (a double-click counts too).
    void leftFillerPressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void rightFillerPressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Presses that no part takes end here, so the window underneath never starts a move.
    void mousePressEvent(QMouseEvent *event) override;

private:
    void place();

    QLabel *m_panel2;
    MarkerSplitter *m_splitter1;
    QLabel *m_panel4;
    MarkerSplitter *m_splitter2;
    QLabel *m_panel3;
    QWidget *m_playhead;
    SegmentMarkers::MarkerTimes m_markers = SegmentMarkers::StartUpMarkers();
    SegmentMarkers::MarkerTimes m_pressedAt; // the markers when one of them was pressed
};
