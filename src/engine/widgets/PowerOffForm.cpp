#include "engine/widgets/PowerOffForm.h"

#include "skin/widgets/MessageIconPicture.h"
#include "skin/widgets/SkinStyle.h"
#include "engine/PowerOffCountdown.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmPowerOff::TfrmPowerOff(TPowerOffCountdown &countdown, QWidget *parent)
    : QDialog(parent), m_countdown(countdown)
{
    setObjectName(QStringLiteral("frmPowerOff"));
    setWindowTitle(QStringLiteral("Kelvane"));
    setWindowModality(Qt::WindowModal);
    SkinStyle::applyTo(this);
    createComponents();
    connect(&m_countdown, &TPowerOffCountdown::started, this, &TfrmPowerOff::countdownStarted);
    connect(&m_countdown, &TPowerOffCountdown::remainingChanged, this, &TfrmPowerOff::showRemaining);
    connect(&m_countdown, &TPowerOffCountdown::finished, this, &QWidget::hide);
    connect(btnPowerOffNow, &QPushButton::clicked, &m_countdown, &TPowerOffCountdown::powerOffNow);
    connect(btnCancel, &QPushButton::clicked, &m_countdown, &TPowerOffCountdown::cancel);
}

void TfrmPowerOff::createComponents()
{
    auto *picture = new QLabel(this);
    picture->setPixmap(MessageIconPicture(MessageIcon::Warning, devicePixelRatioF()));
    picture->setAlignment(Qt::AlignTop);
    lblCountdown = new QLabel(this);
    lblCountdown->setObjectName(QStringLiteral("lblCountdown"));
    QFont bold = SkinStyle::labelFont();
    bold.setPixelSize(13);
    bold.setBold(true);
    lblCountdown->setFont(bold);
    auto *advice = new QLabel(QStringLiteral("Save your work in other programs, or cancel to keep the computer on."), this);
    advice->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(this);
    btnPowerOffNow = buttons->addButton(QStringLiteral("Power off now"), QDialogButtonBox::AcceptRole);
    btnCancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    btnCancel->setDefault(true); // Enter keeps the computer on
    SkinStyle::dropButtonPictures(this);

    auto *texts = new QVBoxLayout;
    texts->addWidget(lblCountdown);
    texts->addWidget(advice);
    auto *row = new QHBoxLayout;
    row->setSpacing(14);
    row->addWidget(picture, 0, Qt::AlignTop);
    row->addLayout(texts, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(14);
    layout->addLayout(row);
    layout->addWidget(buttons);
    setFixedWidth(400);
    showRemaining();
}

void TfrmPowerOff::countdownStarted()
{
    showRemaining();
    open();
    btnCancel->setFocus();
}

void TfrmPowerOff::showRemaining()
{
    lblCountdown->setText(m_countdown.text());
}

void TfrmPowerOff::reject()
{
    m_countdown.cancel();
    QDialog::reject();
}
