#pragma once
// "Installing File...": the small busy window shown while the files chosen in the open dialog
// are added. It blocks input to the other windows, turns a spinner once a second, starts the
// adding 300 ms after it is shown and closes itself when the adding is over.
//
// Use: SetPendingFiles(paths); setAddOperation(...) and setHandlerGuard(...) once; show(). It
// never runs an event loop of its own; `finished` tells when it has closed.
#include "support/EscapedFailure.h"

#include <QPixmap>
#include <QStringList>
#include <QWidget>
#include <functional>

class QLabel;
class QTimer;

class TFrmInitFileForm final : public QWidget {
    Q_OBJECT
public:
    // Adds `paths` and calls `done` when they are all handled (not before returning).
    using AddOperation = std::function<void(const QStringList &paths, std::function<void()> done)>;

    // `mainWindow` is the window it is centred on and owned by (may be null in tests).
    explicit TFrmInitFileForm(QWidget *mainWindow = nullptr);

    void setAddOperation(AddOperation add) { m_add = std::move(add); }
    // Runs the start of the adding and shows a failure that escapes it (the application's general
    // error display).
    void setHandlerGuard(HandlerGuard guard) { m_guard = std::move(guard); }
    // The skinned panel's picture, stretched over the whole window.
    void setBackground(const QPixmap &picture);

    void SetPendingFiles(const QStringList &paths) { m_pendingFiles = paths; }
    const QStringList &pendingFiles() const { return m_pendingFiles; }
    int spinnerStep() const { return m_spinnerStep; }

    // Spinner text for step 1..4: "Installing File...  |", "/", "-", "\".
    static QString SpinnerText(int step);

    QLabel *pnlBackground = nullptr;
    QLabel *lblInfo = nullptr;
    QTimer *Timer1 = nullptr; // spinner, 1000 ms
    QTimer *Timer2 = nullptr; // starts the adding, once, 300 ms after showing

    void Timer1Timer();
    void Timer2Timer();

Q_SIGNALS:
    // The adding is over and the window has closed.
    void finished();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormShow();
    void centreOnMainWindow();
    void addingDone();

    QWidget *m_mainWindow;
    AddOperation m_add;
    HandlerGuard m_guard;
    QStringList m_pendingFiles;
    int m_spinnerStep = 1;
};
