#pragma once
// The splash window: the product picture, borderless and centred. 250 ms after it shows it
// runs the start-up work; it closes once that work has finished and at least two 1000 ms ticks
// have passed, whichever comes later, and then announces `finished`.
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>

class QLabel;

class TFrmFlashForm final : public QWidget {
    Q_OBJECT
public:
    // `picture` may carry a device pixel ratio; the window takes its logical size.
    explicit TFrmFlashForm(const QImage &picture, std::function<void()> startup, QWidget *parent = nullptr);

    QLabel *ImgFlash = nullptr;
    QTimer Timer1;   // once, 250 ms after showing: runs the start-up work
    QTimer Timer2;   // every 1000 ms: counts ticks
    int tickCount() const { return m_ticks; }

Q_SIGNALS:
    // The splash has closed: the start-up work is done and two ticks have passed.
    void finished();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void Timer1Timer();
    void Timer2Timer();
    void closeWhenDone();

    std::function<void()> m_startup;
    int m_ticks = 0;
    bool m_startupDone = false;
    bool m_finished = false;
};
