#include "media/widgets/TimelinePanel.h"

#include "media/SegmentMarkers.h"
#include "media/widgets/MarkerSplitter.h"

#include <QLabel>
#include <QMouseEvent>

using namespace SegmentMarkers;

namespace {

QLabel *stretchedPicture(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setScaledContents(true);
    return label;
}

} // namespace

TimelinePanel::TimelinePanel(QWidget *parent)
    : QWidget(parent), m_panel2(stretchedPicture(QStringLiteral("Panel2"), this)),
      m_splitter1(new MarkerSplitter(this)), m_panel4(stretchedPicture(QStringLiteral("Panel4"), this)),
      m_splitter2(new MarkerSplitter(this)), m_panel3(stretchedPicture(QStringLiteral("Panel3"), this)),
      m_playhead(new QWidget(this))
{
    setObjectName(QStringLiteral("Panel1"));
    setFixedSize(TimelineWidth, TimelineHeight);
    setAttribute(Qt::WA_StyledBackground);
    m_splitter1->setObjectName(QStringLiteral("Splitter1"));
    m_splitter2->setObjectName(QStringLiteral("Splitter2"));
    m_panel2->installEventFilter(this);
    m_panel3->installEventFilter(this);
    setFocusPolicy(Qt::ClickFocus);
    m_playhead->setObjectName(QStringLiteral("Playhead"));
    m_playhead->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_playhead->setAttribute(Qt::WA_StyledBackground);
    m_playhead->hide();
    // Over the fillers and the span, under the markers.
    m_playhead->raise();
    m_splitter1->raise();
    m_splitter2->raise();
    connect(m_splitter1, &MarkerSplitter::nudged, this, &TimelinePanel::startMarkerNudged);
    connect(m_splitter2, &MarkerSplitter::nudged, this, &TimelinePanel::endMarkerNudged);

    // A drag moves the marker from where it stood when it was pressed.
    const auto pressed = [this] { m_pressedAt = m_markers; };
    connect(m_splitter1, &MarkerSplitter::pressed, this, pressed);
    connect(m_splitter1, &MarkerSplitter::dragged, this,
            [this](int dx) { Q_EMIT startMarkerDragged(LayOutTimeline(m_pressedAt).leftFiller + dx); });
    connect(m_splitter1, &MarkerSplitter::released, this, &TimelinePanel::startMarkerReleased);
    connect(m_splitter2, &MarkerSplitter::pressed, this, pressed);
    connect(m_splitter2, &MarkerSplitter::dragged, this,
            [this](int dx) { Q_EMIT endMarkerDragged(LayOutTimeline(m_pressedAt).rightFiller - dx); });
    connect(m_splitter2, &MarkerSplitter::released, this, &TimelinePanel::endMarkerReleased);
    place();
}

QWidget *TimelinePanel::Panel2() const { return m_panel2; }
QWidget *TimelinePanel::Panel4() const { return m_panel4; }
QWidget *TimelinePanel::Panel3() const { return m_panel3; }

void TimelinePanel::setPictures(const Pictures &pictures)
{
    setStyleSheet(QStringLiteral("#Panel1 { background: %1; }").arg(pictures.background.name()));
    m_panel2->setPixmap(pictures.filler);
    m_panel3->setPixmap(pictures.filler);
    m_panel4->setPixmap(pictures.span);
    m_splitter1->setPicture(pictures.startMarker, pictures.markerBackground);
    m_splitter2->setPicture(pictures.endMarker, pictures.markerBackground);
    m_playhead->setStyleSheet(QStringLiteral("background: %1;").arg(pictures.playhead.name()));
}

void TimelinePanel::setPlayhead(qint64 position, qint64 duration)
{
    if (duration <= 0) {
        m_playhead->hide();
        return;
    }
    constexpr int width = 2; // the line ends at the pixel boundary of the time
    m_playhead->setGeometry(PlayheadX(position, duration) - width / 2, 0, width, TimelineHeight);
    m_playhead->show();
}

void TimelinePanel::setMarkers(const MarkerTimes &markers)
{
    m_markers = markers;
    place();
}

void TimelinePanel::place()
{
    const TimelineLayout layout = LayOutTimeline(m_markers);
    const int h = TimelineHeight;
    m_panel2->setGeometry(0, 0, layout.leftFiller, h);
    m_splitter1->setGeometry(layout.startMarkerLeft, 0, MarkerWidth, h);
    m_panel4->setGeometry(layout.spanLeft, 0, layout.spanWidth, h);
    m_splitter2->setGeometry(layout.endMarkerLeft, 0, MarkerWidth, h);
    m_panel3->setGeometry(layout.rightFillerLeft, 0, layout.rightFiller, h);
    m_panel4->setVisible(layout.spanWidth > 0);
}

bool TimelinePanel::eventFilter(QObject *watched, QEvent *event)
{
    const bool press = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (!press || (watched != m_panel2 && watched != m_panel3))
        return QWidget::eventFilter(watched, event);
    const auto *mouse = static_cast<QMouseEvent *>(event);
    if (watched == m_panel2)
        Q_EMIT leftFillerPressed(mouse->button(), mouse->modifiers());
    else
        Q_EMIT rightFillerPressed(mouse->button(), mouse->modifiers());
    return true;
}

void TimelinePanel::mousePressEvent(QMouseEvent *event) { event->accept(); }
