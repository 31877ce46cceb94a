#include "media/widgets/InitFileForm.h"

#include <QCloseEvent>
#include <QLabel>
#include <QTimer>

namespace {

const QString designCaption = QStringLiteral("Installing File...");

QLabel *makeInfoLabel(QWidget *parent)
{
    auto *label = new QLabel(designCaption, parent);
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(parent->rect());
    return label;
}

// Until a guard is set, a failure to start the adding is only written to the debug output.
void warnOnFailure(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const std::exception &e) {
        qWarning("The files could not be added: %s", e.what());
    } catch (...) {
        qWarning("The files could not be added.");
    }
}

QTimer *makeTimer(QObject *parent, int milliseconds, bool once)
{
    auto *timer = new QTimer(parent);
    timer->setInterval(milliseconds);
    timer->setSingleShot(once);
    return timer;
}

} // namespace

TFrmInitFileForm::TFrmInitFileForm(QWidget *mainWindow)
    : QWidget(mainWindow, Qt::Dialog | Qt::FramelessWindowHint), m_mainWindow(mainWindow), m_guard(warnOnFailure)
{
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(273, 45);

    pnlBackground = new QLabel(this);
    pnlBackground->setGeometry(rect());
    pnlBackground->setScaledContents(true);
    pnlBackground->setAutoFillBackground(true);
    QPalette panel = pnlBackground->palette();
    panel.setColor(QPalette::Window, QColor(0x3a, 0x4a, 0x6b)); // until the skin's picture is set
    pnlBackground->setPalette(panel);

    lblInfo = makeInfoLabel(this);

    Timer1 = makeTimer(this, 1000, false);
    Timer2 = makeTimer(this, 300, true);
    connect(Timer1, &QTimer::timeout, this, &TFrmInitFileForm::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TFrmInitFileForm::Timer2Timer);
}

void TFrmInitFileForm::setBackground(const QPixmap &picture) { pnlBackground->setPixmap(picture); }

QString TFrmInitFileForm::SpinnerText(int step)
{
    static const char spinner[] = {'|', '/', '-', '\\'};
    const int at = (step >= 1 && step <= 4) ? step - 1 : 0;
    return designCaption + QStringLiteral("  ") + QLatin1Char(spinner[at]);
}

void TFrmInitFileForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFrmInitFileForm::FormShow()
{
    centreOnMainWindow();
    lblInfo->setText(designCaption);
    m_spinnerStep = 1;
    Timer1->start();
    Timer2->start();
}

void TFrmInitFileForm::centreOnMainWindow()
{
    if (m_mainWindow)
        move(m_mainWindow->frameGeometry().center() - QPoint(width() / 2, height() / 2));
}

void TFrmInitFileForm::Timer1Timer()
{
    m_spinnerStep = m_spinnerStep >= 4 ? 1 : m_spinnerStep + 1;
    lblInfo->setText(SpinnerText(m_spinnerStep));
}

void TFrmInitFileForm::Timer2Timer()
{
    Timer2->stop();
    bool started = false;
    m_guard([this, &started] {
        if (m_add)
            m_add(m_pendingFiles, [this] { addingDone(); });
        started = m_add != nullptr;
    });
    if (!started)
        addingDone(); // the window never stays up when the adding did not start
}

void TFrmInitFileForm::addingDone()
{
    close();
    Q_EMIT finished();
}

void TFrmInitFileForm::closeEvent(QCloseEvent *event)
{
    Timer1->stop();
    Timer2->stop();
    QWidget::closeEvent(event);
}
