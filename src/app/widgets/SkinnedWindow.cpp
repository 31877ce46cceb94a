#include "app/widgets/SkinnedWindow.h"

#include "app/widgets/SkinPictures.h"

#include <QMouseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWindow>

SkinnedWindow::SkinnedWindow(const QString &backgroundName, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_backgroundName(backgroundName),
      m_background(SkinPictures::image(backgroundName))
{
    setAttribute(Qt::WA_TranslucentBackground, false);
    if (!m_background.isNull()) {
        resize(m_background.size());
        setMask(outlineOf(m_background));
    }
    centreOnScreen();
}

void SkinnedWindow::centreOnScreen()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QBitmap SkinnedWindow::outlineOf(const QImage &picture)
{
    if (picture.isNull())
        return {};
    // createMaskFromColor marks the matching pixels; as a bitmap those are the clear ones.
    const QRgb key = picture.pixel(0, picture.height() - 1);
    return QBitmap::fromImage(picture.createMaskFromColor(key, Qt::MaskInColor));
}

void SkinnedWindow::addMoveHandle(QWidget *handle)
{
    handle->installEventFilter(this);
}

void SkinnedWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, SkinPictures::load(m_backgroundName, devicePixelRatioF()));
}

void SkinnedWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        startMove();
    QWidget::mousePressEvent(event);
}

bool SkinnedWindow::eventFilter(QObject *watched, QEvent *event)
{
    const bool press = event->type() == QEvent::MouseButtonPress;
    const bool drag = event->type() == QEvent::MouseMove;
    if (press || drag) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->buttons() & Qt::LeftButton)
            startMove();
    }
    return QWidget::eventFilter(watched, event);
}

void SkinnedWindow::startMove()
{
    if (QWindow *handle = window()->windowHandle())
        handle->startSystemMove();
}
