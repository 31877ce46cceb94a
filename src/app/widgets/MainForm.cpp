#include "app/widgets/MainForm.h"

#include "app/widgets/KeyPreview.h"
#include "skin/widgets/PictureButton.h"
#include "skin/widgets/SkinPalette.h"
#include "skin/widgets/SkinPictures.h"
#include "skin/widgets/SkinStyle.h"
#include "media/CodecHelp.h"
#include "media/widgets/MarkerSplitter.h"
#include "platform/PlatformServices.h"
#include "engine/OutputFolder.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <malloc.h>

#include <algorithm>

namespace {

const QString kHelpFileName = QStringLiteral("Help.chm");
constexpr int kLabelsRightEdge = 363;   // captions of the output settings end here
constexpr int kSettingsPanelLeft = 295; // and stay inside the settings panel (its edge is at 292)

void trimHeap() { malloc_trim(0); }

QLabel *pictureLabel(const QString &picture, QWidget *parent, qreal dpr)
{
    auto *label = new QLabel(parent);
    label->setPixmap(SkinPictures::load(picture, dpr));
    label->setScaledContents(true);
    return label;
}

int widestOf(const QList<QLabel *> &labels)
{
    int widest = 0;
    for (const QLabel *label : labels)
        widest = std::max(widest, label->width());
    return widest;
}

// Narrows the captions' face, then their size (down to 9 pixels), all alike, until none is
// wider than `width`.
void fitCaptions(const QList<QLabel *> &labels, int width)
{
    QFont font = labels.value(0) ? labels.first()->font() : QFont();
    font.setStretch(QFont::SemiCondensed);
    while (widestOf(labels) > width && font.pixelSize() >= 9) {
        for (QLabel *label : labels) {
            label->setFont(font);
            label->adjustSize();
        }
        font.setPixelSize(font.pixelSize() - 1);
    }
}

} // namespace

TFrmMainForm::TFrmMainForm(IShellLauncher &shell, const QString &programFolder, TrimFunction trim,
                           QWidget *parent)
    : SkinnedWindow(QStringLiteral("main_background"), parent),
      m_shell(shell),
      m_programFolder(programFolder),
      m_trim(trim ? std::move(trim) : TrimFunction(trimHeap)),
      m_codecAddress(QString::fromLatin1(CodecHelpAddress))
{
    setObjectName(QStringLiteral("FrmMainForm"));
    setFont(SkinStyle::labelFont());
    setStyleSheet(SkinStyle::styleSheet());
    resize(692, 456);
    setMinimumSize(686, 456);

    buildTitleBar();
    buildLinkButtons();
    buildPreview();
    buildTimeline();
    buildOutputSettings();
    buildCheckBoxes();
    buildSourceList();
    buildFileButtons();
    buildStatusLine();
    connectCommands();
    // Style sheets drop inherited fonts: the controls Qt draws get the label font explicitly.
    for (QWidget *control : std::initializer_list<QWidget *>{
             m_cbbOutputFiletype, m_cbbProfile, m_edtOutputFolder, m_dxTreeSourceFileInfo,
             m_dxTreeSourceFileInfo->header(), m_dxTreeSourceFileInfo->viewport()})
        control->setFont(SkinStyle::labelFont());

    m_tmrClearMemory = new QTimer(this);
    m_tmrClearMemory->setInterval(1000);
    connect(m_tmrClearMemory, &QTimer::timeout, this, &TFrmMainForm::tmrClearMemoryTimer);
    m_tmrClearMemory->start();

    // Shortcuts see every key before the focused control does, and leave it to that control.
    new KeyPreview(this, [this](const QKeyEvent &key) { FormKeyDown(key.key(), key.modifiers()); });
}

TFrmMainForm::~TFrmMainForm() = default;

PictureButton *TFrmMainForm::addButton(const QString &picture, int x, int y, const QString &hint)
{
    auto *button = new PictureButton(picture, this);
    button->move(x, y);
    if (!hint.isEmpty())
        button->setHint(hint);
    return button;
}

QLabel *TFrmMainForm::addLabel(const QString &text, int x, int y)
{
    auto *label = new QLabel(text, this);
    label->setFont(SkinStyle::labelFont());
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    label->adjustSize();
    label->move(x, y);
    return label;
}

void TFrmMainForm::buildTitleBar()
{
    m_lblTitle = new QLabel(QStringLiteral("Application name "), this);
    m_lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont font = SkinStyle::labelFont();
    font.setPixelSize(19);
    font.setBold(true);
    m_lblTitle->setFont(font);
    m_lblTitle->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    m_lblTitle->setGeometry(63, 32, 537, 27);
    addMoveHandle(m_lblTitle);

    m_btnWindowMinimize = addButton(QStringLiteral("minimize"), 606, 28, QStringLiteral("Minimize"));
    m_btnWindowClose = addButton(QStringLiteral("close"), 640, 28, QStringLiteral("Close"));
}

void TFrmMainForm::buildLinkButtons()
{
    m_btnHomePage = addButton(QStringLiteral("homepage"), 406, 73, QStringLiteral("Visit the home page"));
    m_btnEMail = addButton(QStringLiteral("email"), 459, 73, QStringLiteral("Write to support"));
    m_btnHelp = addButton(QStringLiteral("help"), 565, 73, QStringLiteral("Help (F1)"));
    m_btnAbout = addButton(QStringLiteral("about"), 618, 73, QStringLiteral("About Kelvane"));
    for (PictureButton *b : {m_btnHomePage, m_btnEMail, m_btnHelp, m_btnAbout})
        b->setCursor(Qt::PointingHandCursor);
}

void TFrmMainForm::buildPreview()
{
    m_videoWindow = new VideoWindow(this);
    m_videoWindow->setObjectName(QStringLiteral("DSVideoWindowEx1"));
    m_videoWindow->setGeometry(26, 76, 253, 152);
    m_videoWindow->setStyleSheet(QStringLiteral("background: black;"));
    m_videoWindow->setAttribute(Qt::WA_StyledBackground);

    m_panLogo = new QWidget(m_videoWindow);
    m_panLogo->setObjectName(QStringLiteral("panLogo"));
    m_panLogo->setGeometry(m_videoWindow->rect());
    auto *layout = new QHBoxLayout(m_panLogo);
    layout->setContentsMargins(0, 0, 0, 0);
    QLabel *imgLOGO = pictureLabel(QStringLiteral("logo"), m_panLogo, 2.0);
    imgLOGO->setObjectName(QStringLiteral("imgLOGO"));
    layout->addWidget(imgLOGO);

    m_btnPlay = addButton(QStringLiteral("play"), 36, 261, QStringLiteral("Ctrl + P"));
    m_btnPause = addButton(QStringLiteral("pause"), 68, 261, QStringLiteral("Ctrl + U"));
    m_btnStop = addButton(QStringLiteral("stop"), 99, 261, QStringLiteral("Ctrl + T"));

    QLabel *imgPlay = pictureLabel(QStringLiteral("time_display"), this, 2.0);
    imgPlay->setObjectName(QStringLiteral("imgPlay"));
    imgPlay->setGeometry(146, 253, 136, 38);

    m_pnlCurTime = new QLabel(QStringLiteral("00:00:00"), this);
    m_pnlCurTime->setObjectName(QStringLiteral("pnlCurTime"));
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(14);
    font.setBold(true);
    m_pnlCurTime->setFont(font);
    m_pnlCurTime->setAlignment(Qt::AlignCenter);
    m_pnlCurTime->setStyleSheet(QStringLiteral("background: black; color: %1;")
                                    .arg(SkinPalette::accent.name()));
    m_pnlCurTime->setGeometry(171, 264, 81, 17);
}

void TFrmMainForm::buildTimeline()
{
    m_panel1 = new TimelinePanel(this);
    m_panel1->move(22, 234);
    const qreal dpr = 2.0;
    m_panel1->setPictures({SkinPictures::load(QStringLiteral("segment_filler"), dpr),
                           SkinPictures::load(QStringLiteral("segment_span"), dpr),
                           SkinPictures::load(QStringLiteral("marker_start"), dpr).toImage(),
                           SkinPictures::load(QStringLiteral("marker_end"), dpr).toImage(), SkinPalette::card,
                           SkinPalette::card});
}

QWidget *TFrmMainForm::Panel2() const { return m_panel1->Panel2(); }
QWidget *TFrmMainForm::Splitter1() const { return m_panel1->Splitter1(); }
QWidget *TFrmMainForm::Panel4() const { return m_panel1->Panel4(); }
QWidget *TFrmMainForm::Splitter2() const { return m_panel1->Splitter2(); }
QWidget *TFrmMainForm::Panel3() const { return m_panel1->Panel3(); }

void TFrmMainForm::buildOutputSettings()
{
    QLabel *divider = pictureLabel(QStringLiteral("divider"), this, 2.0);
    divider->setObjectName(QStringLiteral("Image1"));
    divider->setGeometry(290, 125, 379, 5);

    // Captions end at one right edge inside the settings panel, whatever the width of the font.
    const QList<QLabel *> captions = {addLabel(QStringLiteral("Output FileType:"), 0, 136),
                                      addLabel(QStringLiteral("Profile Settings:"), 0, 164),
                                      addLabel(QStringLiteral("Output Folder:"), 0, 191)};
    captions[0]->setObjectName(QStringLiteral("lblOutputFileTypeName"));
    captions[1]->setObjectName(QStringLiteral("lblProfileSettings"));
    captions[2]->setObjectName(QStringLiteral("lblOutputFolderInfo"));
    fitCaptions(captions, kLabelsRightEdge - kSettingsPanelLeft);
    for (QLabel *label : captions)
        label->move(kLabelsRightEdge - label->width(), label->y());

    m_cbbOutputFiletype = new QComboBox(this);
    m_cbbOutputFiletype->setObjectName(QStringLiteral("cbbOutputFiletype"));
    m_cbbOutputFiletype->setGeometry(368, 133, 297, 21);
    m_cbbProfile = new QComboBox(this);
    m_cbbProfile->setObjectName(QStringLiteral("cbbProfile"));
    m_cbbProfile->setGeometry(368, 160, 217, 21);
    m_btnOptions = addButton(QStringLiteral("options"), 595, 160, QStringLiteral("Ctrl + I"));

    m_edtOutputFolder = new QLineEdit(DefaultOutputFolder(), this);
    m_edtOutputFolder->setObjectName(QStringLiteral("edtOutputFolder"));
    m_edtOutputFolder->setReadOnly(true);
    m_edtOutputFolder->setGeometry(368, 188, 217, 21);
    m_RzBmpButton1 = addButton(QStringLiteral("browse"), 595, 188, QStringLiteral("Ctrl + B"));
    m_btnSelectOutputFolder = addButton(QStringLiteral("folder"), 595, 218, QStringLiteral("Ctrl + B"));
    m_btnSelectOutputFolder->hide();
}

QCheckBox *TFrmMainForm::addCheckBox(int x, int y, const QString &caption, QLabel *&captionLabel)
{
    auto *box = new QCheckBox(this);
    box->setGeometry(x, y, 15, 15);
    captionLabel = addLabel(caption, x + 19, y + 1);
    captionLabel->setCursor(Qt::PointingHandCursor);
    captionLabel->installEventFilter(this);
    return box;
}

void TFrmMainForm::buildCheckBoxes()
{
    m_chkShutdown = addCheckBox(294, 226, QStringLiteral("Shutdown computer when job is finished."), m_label1);
    m_chkShutdown->setObjectName(QStringLiteral("chkShutdown"));
    m_chkShowOutputDirectory = addCheckBox(294, 246, QStringLiteral("Show output directory when done"), m_label2);
    m_chkShowOutputDirectory->setObjectName(QStringLiteral("chkShowOutputDirectory"));
    m_chkShowOutputDirectory->setChecked(true);

    m_label3 = addLabel(QStringLiteral("Click here to download the coder"), 296, 269);
    m_label3->setObjectName(QStringLiteral("Label3"));
    QFont font = m_label3->font();
    font.setUnderline(true);
    m_label3->setFont(font);
    m_label3->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(SkinPalette::accent.name()));
    m_label3->adjustSize();
    m_label3->setCursor(Qt::PointingHandCursor);
    m_label3->installEventFilter(this);
}

void TFrmMainForm::buildSourceList()
{
    m_dxTreeSourceFileInfo = new QTreeView(this);
    m_dxTreeSourceFileInfo->setObjectName(QStringLiteral("dxTreeSourceFileInfo"));
    m_dxTreeSourceFileInfo->setGeometry(22, 292, 525, 138);
    m_dxTreeSourceFileInfo->setRootIsDecorated(false);
    m_dxTreeSourceFileInfo->setUniformRowHeights(true);
    m_dxTreeSourceFileInfo->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_dxTreeSourceFileInfo->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_dxTreeSourceFileInfo->header()->setSectionsMovable(false);
    // The grid lines are drawn in this colour; the default one glares on the dark list.
    QPalette palette = m_dxTreeSourceFileInfo->palette();
    palette.setColor(QPalette::Midlight, SkinPalette::cardLine);
    m_dxTreeSourceFileInfo->setPalette(palette);
}

void TFrmMainForm::buildFileButtons()
{
    m_btnOpenFile = addButton(QStringLiteral("open_files"), 555, 289, QStringLiteral("Ctrl + O"));
    m_btnRemoveFile = addButton(QStringLiteral("remove_files"), 555, 323, QStringLiteral("Ctrl + R"));
    m_btnClearFile = addButton(QStringLiteral("clear_files"), 555, 357, QStringLiteral("Ctrl + L"));
    m_btnConvert = addButton(QStringLiteral("convert"), 555, 391, QStringLiteral("Ctrl + S"));
}

// Right-aligned on the foot of the background, beside the painted tag line.
void TFrmMainForm::buildStatusLine()
{
    m_lblStatusLine = new QLabel(this);
    m_lblStatusLine->setObjectName(QStringLiteral("lblStatusLine"));
    m_lblStatusLine->setFont(SkinStyle::labelFont());
    m_lblStatusLine->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(SkinPalette::textDim.name()));
    m_lblStatusLine->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lblStatusLine->setGeometry(180, 436, 367, 16);
}

void TFrmMainForm::connectCommands()
{
    const std::pair<PictureButton *, MainCommand> commands[] = {
        {m_btnOpenFile, MainCommand::OpenFile},     {m_btnRemoveFile, MainCommand::RemoveFile},
        {m_btnClearFile, MainCommand::ClearFile},   {m_btnOptions, MainCommand::Options},
        {m_btnPlay, MainCommand::Play},             {m_btnPause, MainCommand::Pause},
        {m_btnStop, MainCommand::Stop},             {m_btnConvert, MainCommand::Convert},
        {m_btnHelp, MainCommand::Help},
        {m_RzBmpButton1, MainCommand::SelectOutputFolder},
        {m_btnSelectOutputFolder, MainCommand::SelectOutputFolder},
    };
    for (const auto &[button, command] : commands)
        connect(button, &QAbstractButton::clicked, this, [this, command = command] { performCommand(command); });
    connect(m_btnWindowMinimize, &QAbstractButton::clicked, this, &TFrmMainForm::actMinimizeExecute);
    connect(m_btnWindowClose, &QAbstractButton::clicked, this, &TFrmMainForm::actCloseWindowExecute);
    connect(m_btnHomePage, &QAbstractButton::clicked, this, &TFrmMainForm::ActSysHomePageExecute);
    connect(m_btnEMail, &QAbstractButton::clicked, this, &TFrmMainForm::ActSysEmailExecute);
    connect(m_btnAbout, &QAbstractButton::clicked, this, &TFrmMainForm::ActSysAboutExecute);
}

void TFrmMainForm::performCommand(MainCommand command)
{
    switch (command) {
    case MainCommand::None: break;
    case MainCommand::OpenFile: Q_EMIT openFilesRequested(); break;
    case MainCommand::RemoveFile: Q_EMIT removeFilesRequested(); break;
    case MainCommand::ClearFile: Q_EMIT clearFilesRequested(); break;
    case MainCommand::Options: Q_EMIT optionsRequested(); break;
    case MainCommand::Play: Q_EMIT playRequested(); break;
    case MainCommand::Pause: Q_EMIT pauseRequested(); break;
    case MainCommand::Stop: Q_EMIT stopRequested(); break;
    case MainCommand::Convert: Q_EMIT convertRequested(); break;
    case MainCommand::Help: ActSysHelpExecute(); break;
    case MainCommand::SelectOutputFolder: Q_EMIT selectOutputFolderRequested(); break;
    }
}

void TFrmMainForm::actMinimizeExecute() { showMinimized(); }

void TFrmMainForm::actCloseWindowExecute() { close(); }

// Shell launches report nothing: a missing help file or mail program simply shows nothing.
void TFrmMainForm::ActSysHomePageExecute() { m_shell.open(QUrl(m_homePage, QUrl::TolerantMode)); }

void TFrmMainForm::ActSysEmailExecute() { m_shell.open(QUrl(QStringLiteral("mailto:") + m_supportEmail)); }

void TFrmMainForm::ActSysHelpExecute() { m_shell.open(QUrl::fromLocalFile(m_programFolder + kHelpFileName)); }

void TFrmMainForm::ActSysAboutExecute() { Q_EMIT aboutRequested(); }

void TFrmMainForm::Label3Click() { m_shell.open(QUrl(m_codecAddress, QUrl::TolerantMode)); }

void TFrmMainForm::tmrClearMemoryTimer() { m_trim(); }

void TFrmMainForm::FormKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    performCommand(commandForKey(key, modifiers));
}

void TFrmMainForm::closeEvent(QCloseEvent *event)
{
    Q_EMIT closing();
    event->accept();
}

void TFrmMainForm::resizeEvent(QResizeEvent *event)
{
    setMinimumSize(686, 456);
    SkinnedWindow::resizeEvent(event);
}

bool TFrmMainForm::eventFilter(QObject *watched, QEvent *event)
{
    const bool clickable = watched == m_label1 || watched == m_label2 || watched == m_label3;
    // A press on a caption belongs to it: it must not reach the background and move the window.
    if (clickable && event->type() == QEvent::MouseButtonPress)
        return true;
    if (clickable && event->type() == QEvent::MouseButtonRelease) {
        if (watched == m_label3)
            Label3Click();
        else if (watched == m_label1)
            m_chkShutdown->toggle();
        else if (watched == m_label2)
            m_chkShowOutputDirectory->toggle();
    }
    return SkinnedWindow::eventFilter(watched, event);
}

namespace {

QStringList localFilesOf(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return paths;
}

} // namespace

void TFrmMainForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (!localFilesOf(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TFrmMainForm::dropEvent(QDropEvent *event)
{
    const QStringList paths = localFilesOf(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    Q_EMIT filesDropped(paths);
}
