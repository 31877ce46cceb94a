#include "engine/widgets/ConversionController.h"

#include "engine/widgets/PowerOffForm.h"
#include "services/CommonLib.h"
#include "services/CustomProc.h"

#include <QAbstractButton>
#include <QWidget>
#include <QWindow>

TConversionController::TConversionController(TCustomProc &custom, IShellLauncher &shell, IPowerControl &power,
                                             QWidget *mainWindow, TProgressRefresh &progress, TfrmConverting &form,
                                             QObject *parent)
    : QObject(parent), m_custom(custom), m_mainWindow(mainWindow), m_progress(progress),
      m_batch(custom.batchServices(), m_progress, shell, power), m_form(form)
{
    m_form.setShowInputs([this] {
        return std::pair<QString, int>{m_batch.currentFile(), m_batch.state().checkedCount};
    });
    m_powerOffForm = new TfrmPowerOff(m_batch.powerOffCountdown(), mainWindow);
    connect(&m_batch, &TBatchRun::itemStarting, this, &TConversionController::showProgress);
    connect(&m_batch, &TBatchRun::runFinished, this, &TConversionController::restoreWindows);
    connect(&m_batch, &TBatchRun::endProgramRequested, this, &TConversionController::endProgramRequested);
    connect(&m_form, &TfrmConverting::stopRequested, &m_batch, &TBatchRun::Stop);
    connect(&m_form, &TfrmConverting::closeStop, &m_batch, &TBatchRun::CloseStop);
}

// The countdown window shows this controller's countdown: it goes with it.
TConversionController::~TConversionController()
{
    delete m_powerOffForm.data();
}

TfrmPowerOff &TConversionController::powerOffForm() const
{
    return *m_powerOffForm;
}

void TConversionController::setAfterJobChoices(std::function<bool()> showOutputDirectory,
                                               std::function<bool()> shutdown)
{
    m_batch.setShowOutputDirectory(std::move(showOutputDirectory));
    m_batch.setShutdown(std::move(shutdown));
}

void TConversionController::setAfterJobChoices(const QAbstractButton *chkShowOutputDirectory,
                                               const QAbstractButton *chkShutdown)
{
    const auto reader = [](const QAbstractButton *box) {
        return [box = QPointer<const QAbstractButton>(box)] { return box && box->isChecked(); };
    };
    setAfterJobChoices(reader(chkShowOutputDirectory), reader(chkShutdown));
}

void TConversionController::start()
{
    if (isRunning())
        return;
    QSet<quint64> leaveOut;
    if (m_beforeRun) {
        const std::optional<QSet<quint64>> chosen = m_beforeRun();
        if (!chosen || isRunning()) // the question let the event loop run
            return;
        leaveOut = *chosen;
    }
    m_batch.setFilesAtOnce(m_filesAtOnce ? m_filesAtOnce() : 1);
    m_batch.RunBatch(m_custom.sources(), leaveOut);
}

// The progress window is a window of its own (a disabled parent would disable it too), placed
// over the centre of the main window when it comes up. The window manager keeps it above the
// main window, also when the disabled main window is clicked.
void TConversionController::showProgress()
{
    if (m_mainWindow) {
        lockMainWindow(true);
        if (!m_form.isVisible()) {
            const QRect frame = m_mainWindow->frameGeometry();
            m_form.move(frame.center() - QPoint(m_form.width() / 2, m_form.height() / 2));
            keepAbove(m_form, *m_mainWindow);
        }
    }
    m_form.show();
    m_form.raise();
}

void TConversionController::restoreWindows()
{
    m_form.hide();
    if (m_mainWindow)
        lockMainWindow(false);
    Q_EMIT runFinished();
}

void TConversionController::lockMainWindow(bool locked)
{
    if (m_lockMainWindow)
        m_lockMainWindow(locked);
    else
        m_mainWindow->setEnabled(!locked);
}

void TConversionController::keepAbove(QWidget &window, QWidget &owner)
{
    window.winId();
    owner.winId();
    if (window.windowHandle() && owner.windowHandle())
        window.windowHandle()->setTransientParent(owner.windowHandle());
}
