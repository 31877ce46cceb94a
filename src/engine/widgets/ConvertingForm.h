#pragma once
// The progress window: a view of TProgressRefresh with the two stop commands.
#include "engine/ConvertingCommands.h"
#include "engine/ProgressRefresh.h"

#include <QDialog>
#include <QPixmap>
#include <QTimer>

#include <functional>
#include <utility>

class QLabel;
class QProgressBar;
class QPushButton;
class QStatusBar;

class TfrmConverting : public QDialog {
    Q_OBJECT
public:
    // What FormShow shows: the current item's input path and the number of checked rows.
    using TShowInputs = std::function<std::pair<QString, int>()>;

    TfrmConverting(TProgressRefresh &model, IMessageBoxes &messages, QWidget *parent = nullptr);

    void setShowInputs(TShowInputs inputs) { m_showInputs = std::move(inputs); }
    // What holds the batch run while a stop question is open.
    void setRunHold(std::function<TRunHold()> hold) { m_commands.setRunHold(std::move(hold)); }
    // Skinned look: the picture becomes the background and its outline the window's shape
    // (pixels of the bottom-left pixel's colour are cut out).
    void setSkin(const QPixmap &background);
    // Escape is a close request too, so it asks first.
    void reject() override { close(); }

    QLabel *lblInfo = nullptr;
    QLabel *lblCurConvertFileL = nullptr;
    QLabel *lblCurFileName = nullptr;
    QLabel *lblTotalFilr = nullptr;
    QProgressBar *pbTotal = nullptr;
    QLabel *lblCurprog = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QLabel *lblPersent = nullptr;
    QPushButton *btnStop = nullptr;
    QStatusBar *statState = nullptr;
    QLabel *statStatePanel = nullptr;
    QTimer tmrChanging;

Q_SIGNALS:
    // Stop confirmed: the batch run sets its stop state and calls KillEncoder.
    void stopRequested();
    // Close confirmed: the batch run ends after the current item.
    void closeStop();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void createComponents();
    void placeOnSkin();
    void btnStop1Click();
    void FormShow();
    void updateView();

    TProgressRefresh &m_model;
    TConvertingCommands m_commands;
    TShowInputs m_showInputs;
    QPixmap m_skin;
};
