#pragma once
// The power-off countdown as the user sees it: how many seconds are left, "Power off now" and
// "Cancel". A view of TPowerOffCountdown: it comes up when the countdown starts and goes when
// the countdown is over; closing it (Escape, the window's close) cancels.
#include <QDialog>

class QLabel;
class QPushButton;
class TPowerOffCountdown;

class TfrmPowerOff : public QDialog {
    Q_OBJECT
public:
    // `countdown` must outlive the window. Over `parent` (the main window) it is window-modal.
    explicit TfrmPowerOff(TPowerOffCountdown &countdown, QWidget *parent = nullptr);

    void reject() override;

    QLabel *lblCountdown = nullptr;
    QPushButton *btnPowerOffNow = nullptr;
    QPushButton *btnCancel = nullptr;

private:
    void createComponents();
    void countdownStarted();
    void showRemaining();

    TPowerOffCountdown &m_countdown;
};
