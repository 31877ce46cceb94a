#include "app/widgets/FlashForm.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QShowEvent>

namespace {
constexpr int TicksShown = 2;
}

TFrmFlashForm::TFrmFlashForm(const QImage &picture, std::function<void()> startup, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_startup(std::move(startup))
{
    setObjectName(QStringLiteral("FrmFlashForm"));
    setWindowTitle(QStringLiteral("Kelvane"));
    setAttribute(Qt::WA_DeleteOnClose);
    ImgFlash = new QLabel(this);
    ImgFlash->setObjectName(QStringLiteral("ImgFlash"));
    ImgFlash->setPixmap(QPixmap::fromImage(picture));
    const QSize size = picture.deviceIndependentSize().toSize();
    ImgFlash->setGeometry(0, 0, size.width(), size.height());
    setFixedSize(size);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    Timer1.setSingleShot(true);
    Timer1.setInterval(250);
    Timer2.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, &TFrmFlashForm::Timer1Timer);
    connect(&Timer2, &QTimer::timeout, this, &TFrmFlashForm::Timer2Timer);
}

void TFrmFlashForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous() && !Timer1.isActive() && !Timer2.isActive() && !m_startupDone)
        FormShow();
}

void TFrmFlashForm::FormShow()
{
    m_ticks = 0;
    Timer1.start();
    Timer2.start();
}

void TFrmFlashForm::Timer1Timer()
{
    Timer1.stop();
    if (m_startup)
        m_startup();
    m_startupDone = true;
    closeWhenDone();
}

void TFrmFlashForm::Timer2Timer()
{
    ++m_ticks;
    closeWhenDone();
}

void TFrmFlashForm::closeWhenDone()
{
    if (m_finished || !m_startupDone || m_ticks < TicksShown)
        return;
    m_finished = true;
    Timer2.stop();
    close();
    Q_EMIT finished();
}
