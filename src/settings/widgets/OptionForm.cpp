#include "settings/widgets/OptionForm.h"

#include "skin/widgets/SkinStyle.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QScreen>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kSelectorWidth = 117;

QComboBox *selector(const QString &name, QWidget *parent, int width = kSelectorWidth)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->setFixedWidth(width);
    // Narrow boxes: a little less padding so that the longest entry ("2 channels, Stereo") fits.
    box->setStyleSheet(QStringLiteral("QComboBox { padding-left: 4px; padding-right: 2px; }"
                                      "QComboBox::drop-down { width: 14px; }"));
    return box;
}

// A caption and its selector side by side in a grid row.
QComboBox *addSelector(QGridLayout *grid, int row, int column, const QString &label,
                       const QString &labelName, const QString &name)
{
    QWidget *parent = grid->parentWidget();
    auto *caption = new QLabel(label, parent);
    caption->setObjectName(labelName);
    QComboBox *box = selector(name, parent);
    caption->setBuddy(box);
    grid->addWidget(caption, row, column * 2, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(box, row, column * 2 + 1);
    return box;
}

QPushButton *button(const QString &text, const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TfrmOption::TfrmOption(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(QStringLiteral("Options"));
    setModal(false);
    SkinStyle::applyTo(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    buildProfileRow();
    buildAudioGroup();
    m_chkKeepOriginal = new QCheckBox(QStringLiteral("Keep the original sound when it already has the output type (no re-encoding)"), this);
    m_chkKeepOriginal->setObjectName(QStringLiteral("chkKeepOriginal"));
    m_chkKeepOriginal->setToolTip(QStringLiteral(
        "Copies the sound as it is, without loss and in a moment, when it already is what the output type holds "
        "(AAC for AAC and M4A, MP3, AC3, Vorbis for OGG, 16-bit PCM for WAV).\n"
        "The quality's or custom profile's bitrate, sample rate and channels then do not apply.\n"
        "A volume other than 100, loudness normalisation or another codec encode the sound as usual."));
    layout->addWidget(m_chkKeepOriginal);
    buildButtons();
    SkinStyle::applyFont(this);
    setFixedSize(476, 260);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmOption::buildProfileRow()
{
    auto *row = new QHBoxLayout;
    row->setSpacing(6);
    auto *caption = new QLabel(QStringLiteral("Custom Profile:"), this);
    caption->setObjectName(QStringLiteral("lblCustomProfile"));
    m_cbbCustomProfile = new QComboBox(this);
    m_cbbCustomProfile->setObjectName(QStringLiteral("cbbCustomProfile"));
    m_cbbCustomProfile->setEditable(true);
    m_cbbCustomProfile->setInsertPolicy(QComboBox::NoInsert);
    m_cbbCustomProfile->setFixedWidth(185);
    caption->setBuddy(m_cbbCustomProfile);
    m_btnAdd = button(QStringLiteral("Add"), QStringLiteral("btnAdd"), this);
    m_btnSave = button(QStringLiteral("Save"), QStringLiteral("btnSave"), this);
    m_btnDel = button(QStringLiteral("Delete"), QStringLiteral("btnDel"), this);
    row->addWidget(caption);
    row->addWidget(m_cbbCustomProfile);
    row->addStretch(1);
    for (QPushButton *b : {m_btnAdd, m_btnSave, m_btnDel})
        row->addWidget(b);
    static_cast<QVBoxLayout *>(layout())->addLayout(row);

    connect(m_btnAdd, &QPushButton::clicked, this, &TfrmOption::addRequested);
    connect(m_btnSave, &QPushButton::clicked, this, &TfrmOption::saveRequested);
    connect(m_btnDel, &QPushButton::clicked, this, &TfrmOption::deleteRequested);
}

void TfrmOption::buildAudioGroup()
{
    m_grpAdvOptions = new QGroupBox(QStringLiteral("Advanced Options"), this);
    m_grpAdvOptions->setObjectName(QStringLiteral("grpAdvOptions"));
    auto *grid = new QGridLayout(m_grpAdvOptions);
    grid->setContentsMargins(8, 14, 8, 12);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(12);
    m_cbbAudioBitrate = addSelector(grid, 0, 0, QStringLiteral("Audio Bitrate(kbps):"),
                                    QStringLiteral("lblAudioBitrate"), QStringLiteral("cbbAudioBitrate"));
    m_cbbAudioSample = addSelector(grid, 0, 1, QStringLiteral("Audio Sample(khz):"),
                                   QStringLiteral("lblSample"), QStringLiteral("cbbAudioSample"));
    m_cbbAudioVolumeGain = addSelector(grid, 1, 0, QStringLiteral("Audio Volume(%):"),
                                       QStringLiteral("lblVolume"), QStringLiteral("cbbAudioVolumeGain"));
    m_cbbAudioChannels = addSelector(grid, 1, 1, QStringLiteral("Audio Channels:"),
                                     QStringLiteral("lblChannels"), QStringLiteral("cbbAudioChannels"));
    buildLoudnessRow(grid);
    static_cast<QVBoxLayout *>(layout())->addWidget(m_grpAdvOptions);
}

// Loudness normalisation: one wide selector under the four audio selectors.
void TfrmOption::buildLoudnessRow(QGridLayout *grid)
{
    auto *caption = new QLabel(QStringLiteral("Loudness:"), m_grpAdvOptions);
    caption->setObjectName(QStringLiteral("lblLoudness"));
    m_cbbLoudness = new QComboBox(m_grpAdvOptions);
    m_cbbLoudness->setObjectName(QStringLiteral("cbbLoudness"));
    const QString tip = QStringLiteral(
        "Brings every file converted from now on to the same loudness (EBU R128), with its peaks kept "
        "below -1 dBTP.\nThe volume is applied first; the normalisation then decides the final level.");
    caption->setToolTip(tip);
    m_cbbLoudness->setToolTip(tip);
    caption->setBuddy(m_cbbLoudness);
    grid->addWidget(caption, 2, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(m_cbbLoudness, 2, 1, 1, 3);
}

// "Files converted at once" shares the bottom row with OK and Cancel, on its left.
void TfrmOption::buildButtons()
{
    auto *row = new QHBoxLayout;
    auto *caption = new QLabel(QStringLiteral("Files converted at once:"), this);
    caption->setObjectName(QStringLiteral("lblFilesAtOnce"));
    m_cbbFilesAtOnce = selector(QStringLiteral("cbbFilesAtOnce"), this, 56);
    for (int count = 1; count <= std::max(1, QThread::idealThreadCount()); ++count)
        m_cbbFilesAtOnce->addItem(QString::number(count));
    const QString tip = QStringLiteral("How many files convert at the same time, each by an encoder of its own "
                                       "(up to one per core).\nOne converts them one after another.");
    caption->setToolTip(tip);
    m_cbbFilesAtOnce->setToolTip(tip);
    caption->setBuddy(m_cbbFilesAtOnce);
    row->addWidget(caption);
    row->addWidget(m_cbbFilesAtOnce);
    row->addStretch(1);
    m_btnApply = button(QStringLiteral("OK"), QStringLiteral("btnApply"), this);
    m_btnApply->setDefault(true);
    m_btnCancel = button(QStringLiteral("Cancel"), QStringLiteral("btnCancel"), this);
    for (QPushButton *b : {m_btnApply, m_btnCancel}) {
        b->setMinimumWidth(80);
        row->addWidget(b);
    }
    auto *main = static_cast<QVBoxLayout *>(layout());
    main->addStretch(1);
    main->addLayout(row);
    connect(m_btnApply, &QPushButton::clicked, this, &TfrmOption::accept);
    connect(m_btnCancel, &QPushButton::clicked, this, &TfrmOption::reject);
}

void TfrmOption::showModeless()
{
    if (!isVisible())
        show();
    raise();
    activateWindow();
}

void TfrmOption::accept()
{
    Q_EMIT applyRequested();
    QDialog::accept();
}

void TfrmOption::reject()
{
    Q_EMIT cancelRequested();
    QDialog::reject();
}

void TfrmOption::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        Q_EMIT showing();
    QDialog::showEvent(event);
}

// The close box only hides the dialog: nothing is restored or applied.
void TfrmOption::closeEvent(QCloseEvent *event)
{
    event->accept();
}
