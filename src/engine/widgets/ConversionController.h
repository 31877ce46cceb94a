#pragma once
// Ties the batch run to the windows: shows the progress window while items convert, keeps the
// main window disabled while the run lasts, and routes the progress window's stop commands.
#include "engine/BatchRun.h"
#include "engine/ProgressRefresh.h"
#include "engine/widgets/ConvertingForm.h"

#include <QObject>
#include <QPointer>

#include <QSet>

#include <functional>
#include <optional>

class QAbstractButton;
class QWidget;
class TCustomProc;
class TfrmPowerOff;

class TConversionController : public QObject {
    Q_OBJECT
public:
    // `custom` (with its TCommonLib and message boxes), `shell`, `power`, `progress` and `form`
    // must outlive the controller; `form` shows `progress` and is a window of its own (a disabled
    // parent would disable it too). `mainWindow` is disabled while a run lasts; it may go away first.
    TConversionController(TCustomProc &custom, IShellLauncher &shell, IPowerControl &power, QWidget *mainWindow,
                          TProgressRefresh &progress, TfrmConverting &form, QObject *parent = nullptr);
    ~TConversionController() override;

    // The main window's check boxes, read when a run's after-job step comes.
    void setAfterJobChoices(std::function<bool()> showOutputDirectory, std::function<bool()> shutdown);
    void setAfterJobChoices(const QAbstractButton *chkShowOutputDirectory, const QAbstractButton *chkShutdown);

    // Asked as Convert is pressed, before the run: the ids of checked items to leave out, or
    // nothing to start no run at all. Unset: every checked item converts.
    using BeforeRun = std::function<std::optional<QSet<quint64>>()>;
    void setBeforeRun(BeforeRun beforeRun) { m_beforeRun = std::move(beforeRun); }

    // How many files each run converts at once, read as the run starts; unset means 1.
    void setFilesAtOnce(std::function<int()> count) { m_filesAtOnce = std::move(count); }

    // Convert (btnConvertClick, Ctrl+S, Ctrl+N): converts the checked rows of the source list
    // of `custom`. Returns at once; does nothing while a run is in progress.
    void start();
    bool isRunning() const { return m_batch.isRunning(); }

    TfrmConverting &form() { return m_form; }
    TProgressRefresh &progress() { return m_progress; }
    TBatchRun &batch() { return m_batch; }
    // The power-off countdown window, over the main window.
    TfrmPowerOff &powerOffForm() const;

    // How the main window is locked while a run lasts (true) and unlocked after it (false).
    // The default disables and enables the whole window.
    void setMainWindowLock(std::function<void(bool locked)> lock) { m_lockMainWindow = std::move(lock); }

    // Makes `window` a transient of `owner`, so the window manager keeps it above `owner`.
    static void keepAbove(QWidget &window, QWidget &owner);

Q_SIGNALS:
    // The run is over and the windows are restored.
    void runFinished();
    // The computer is powering off: end the program at once, without saving anything
    // (for example QCoreApplication::exit(0)).
    void endProgramRequested();

private:
    void showProgress();
    void restoreWindows();
    void lockMainWindow(bool locked);

    TCustomProc &m_custom;
    QPointer<QWidget> m_mainWindow;
    TProgressRefresh &m_progress;
    TBatchRun m_batch;
    TfrmConverting &m_form;
    QPointer<TfrmPowerOff> m_powerOffForm;
    std::function<void(bool)> m_lockMainWindow;
    std::function<int()> m_filesAtOnce;
    BeforeRun m_beforeRun;
};
