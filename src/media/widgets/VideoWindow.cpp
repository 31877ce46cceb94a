#include "media/widgets/VideoWindow.h"

#include "media/FilterGraph.h"

#include <QImage>
#include <QPainter>

VideoWindow::VideoWindow(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void VideoWindow::setSource(FilterGraph *graph)
{
    if (m_graph)
        disconnect(m_graph, nullptr, this, nullptr);
    m_graph = graph;
    if (graph) {
        connect(graph, &FilterGraph::frameDrawn, this, qOverload<>(&QWidget::update));
        tellVideoSize();
    }
    update();
}

void VideoWindow::tellVideoSize()
{
    if (m_graph)
        m_graph->setVideoSize((QSizeF(size()) * devicePixelRatioF()).toSize());
}

void VideoWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!m_graph)
        return;
    const VideoFrameBuffer &frame = m_graph->videoFrame();
    if (frame.isEmpty())
        return;
    // The buffer is the graph's; the picture only borrows it while it is painted.
    const QImage picture(frame.bits(), frame.size().width(), frame.size().height(), frame.bytesPerLine(),
                         QImage::Format_RGB32);
    painter.drawImage(QRectF(rect()), picture);
}

void VideoWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    tellVideoSize();
}

void VideoWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    tellVideoSize(); // the screen, and with it the pixel ratio, is known now
}
