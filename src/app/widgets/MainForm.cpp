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
#include "support/WorkingSet.h"

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

#include <algorithm>
#include <utility>

namespace {

const QString kHelpFileName = QStringLiteral("Help.chm");
constexpr int kLabelsRightEdge = 363;   // captions of the output settings end here
constexpr int kSettingsPanelLeft = 295; // and stay inside the settings panel (its edge is at 292)

constexpr QSize WindowSize{692, 456};
constexpr QSize SmallestSize{686, 456};

// Where a control sits, in the window's own pixels. A width and height of 0 leave the control its
// own size (a picture button's picture, a caption's text). A control anchored right ends at x.
enum class Anchor { Left, Right };
struct Place {
    const char *name; // the control's object name, its component's name
    int x, y, width, height;
    Anchor anchor = Anchor::Left;
};

// Every control of the window; the constructor puts each at its place once all are made.
const Place Layout[] = {
    // title bar
    {"lblTitle", 63, 32, 537, 27},
    {"btnWindowMinimize", 606, 28, 0, 0},
    {"btnWindowClose", 640, 28, 0, 0},
    // product links
    {"btnHomePage", 406, 73, 0, 0},
    {"btnEMail", 459, 73, 0, 0},
    {"btnHelp", 565, 73, 0, 0},
    {"btnAbout", 618, 73, 0, 0},
    // the preview, its buttons and time, and the timeline under it
    {"DSVideoWindowEx1", 26, 76, 253, 152},
    {"Panel1", 22, 234, 0, 0},
    {"btnPlay", 36, 261, 0, 0},
    {"btnPause", 68, 261, 0, 0},
    {"btnStop", 99, 261, 0, 0},
    {"imgPlay", 146, 253, 136, 38},
    {"pnlCurTime", 171, 264, 81, 17},
    // output settings
    {"Image1", 290, 125, 379, 5},
    {"lblOutputFileTypeName", kLabelsRightEdge, 136, 0, 0, Anchor::Right},
    {"lblProfileSettings", kLabelsRightEdge, 164, 0, 0, Anchor::Right},
    {"lblOutputFolderInfo", kLabelsRightEdge, 191, 0, 0, Anchor::Right},
    {"cbbOutputFiletype", 368, 133, 297, 21},
    {"cbbProfile", 368, 160, 217, 21},
    {"btnOptions", 595, 160, 0, 0},
    {"edtOutputFolder", 368, 188, 217, 21},
    {"RzBmpButton1", 595, 188, 0, 0},
    {"btnSelectOutputFolder", 595, 218, 0, 0},
    // the after-job check boxes with their captions, and the codec link
    {"chkShutdown", 294, 226, 15, 15},
    {"Label1", 313, 227, 0, 0},
    {"chkShowOutputDirectory", 294, 246, 15, 15},
    {"Label2", 313, 247, 0, 0},
    {"Label3", 296, 269, 0, 0},
    // the source list and its buttons
    {"dxTreeSourceFileInfo", 22, 292, 525, 138},
    {"btnOpenFile", 555, 289, 0, 0},
    {"btnRemoveFile", 555, 323, 0, 0},
    {"btnClearFile", 555, 357, 0, 0},
    {"btnConvert", 555, 391, 0, 0},
    // the foot of the background, beside the painted tag line
    {"lblStatusLine", 180, 436, 367, 16},
};

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
      m_trim(trim ? std::move(trim) : TrimFunction(TrimWorkingSet)),
      m_codecAddress(QString::fromLatin1(CodecHelpAddress))
{
    setObjectName(QStringLiteral("FrmMainForm"));
    setFont(SkinStyle::labelFont());
    setStyleSheet(SkinStyle::styleSheet());
    resize(WindowSize);
    setMinimumSize(SmallestSize);

    buildTitleBar();
    buildLinkButtons();
    buildPreview();
    buildTimeline();
    buildOutputSettings();
    buildCheckBoxes();
    buildSourceList();
    buildFileButtons();
    buildStatusLine();
    placeControls();
    m_panLogo->setGeometry(m_videoWindow->rect()); // the logo covers the whole video area
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

// Puts every control named in the layout table at its place.
void TFrmMainForm::placeControls()
{
    for (const Place &place : Layout) {
        auto *control = findChild<QWidget *>(QString::fromLatin1(place.name));
        Q_ASSERT_X(control, "TFrmMainForm::placeControls", place.name);
        if (!control)
            continue;
        if (place.width > 0 && place.height > 0)
            control->resize(place.width, place.height);
        control->move(place.anchor == Anchor::Right ? place.x - control->width() : place.x, place.y);
    }
}

PictureButton *TFrmMainForm::addButton(const QString &picture, const QString &name, const QString &hint)
{
    auto *button = new PictureButton(picture, this);
    button->setObjectName(name);
    if (!hint.isEmpty())
        button->setHint(hint);
    return button;
}

QLabel *TFrmMainForm::addLabel(const QString &text, const QString &name)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(name);
    label->setFont(SkinStyle::labelFont());
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    label->adjustSize();
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
    addMoveHandle(m_lblTitle);

    m_btnWindowMinimize =
        addButton(QStringLiteral("minimize"), QStringLiteral("btnWindowMinimize"), QStringLiteral("Minimize"));
    m_btnWindowClose = addButton(QStringLiteral("close"), QStringLiteral("btnWindowClose"), QStringLiteral("Close"));
}

void TFrmMainForm::buildLinkButtons()
{
    m_btnHomePage =
        addButton(QStringLiteral("homepage"), QStringLiteral("btnHomePage"), QStringLiteral("Visit the home page"));
    m_btnEMail = addButton(QStringLiteral("email"), QStringLiteral("btnEMail"), QStringLiteral("Write to support"));
    m_btnHelp = addButton(QStringLiteral("help"), QStringLiteral("btnHelp"), QStringLiteral("Help (F1)"));
    m_btnAbout = addButton(QStringLiteral("about"), QStringLiteral("btnAbout"), QStringLiteral("About Kelvane"));
    for (PictureButton *b : {m_btnHomePage, m_btnEMail, m_btnHelp, m_btnAbout})
        b->setCursor(Qt::PointingHandCursor);
}

void TFrmMainForm::buildPreview()
{
    m_videoWindow = new VideoWindow(this);
    m_videoWindow->setObjectName(QStringLiteral("DSVideoWindowEx1"));
    m_videoWindow->setStyleSheet(QStringLiteral("background: black;"));
    m_videoWindow->setAttribute(Qt::WA_StyledBackground);

    m_panLogo = new QWidget(m_videoWindow);
    m_panLogo->setObjectName(QStringLiteral("panLogo"));
    auto *layout = new QHBoxLayout(m_panLogo);
    layout->setContentsMargins(0, 0, 0, 0);
    QLabel *imgLOGO = pictureLabel(QStringLiteral("logo"), m_panLogo, 2.0);
    imgLOGO->setObjectName(QStringLiteral("imgLOGO"));
    layout->addWidget(imgLOGO);

    m_btnPlay = addButton(QStringLiteral("play"), QStringLiteral("btnPlay"), QStringLiteral("Ctrl + P"));
    m_btnPause = addButton(QStringLiteral("pause"), QStringLiteral("btnPause"), QStringLiteral("Ctrl + U"));
    m_btnStop = addButton(QStringLiteral("stop"), QStringLiteral("btnStop"), QStringLiteral("Ctrl + T"));

    QLabel *imgPlay = pictureLabel(QStringLiteral("time_display"), this, 2.0);
    imgPlay->setObjectName(QStringLiteral("imgPlay"));

    m_pnlCurTime = new QLabel(QStringLiteral("00:00:00"), this);
    m_pnlCurTime->setObjectName(QStringLiteral("pnlCurTime"));
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(14);
    font.setBold(true);
    m_pnlCurTime->setFont(font);
    m_pnlCurTime->setAlignment(Qt::AlignCenter);
    m_pnlCurTime->setStyleSheet(QStringLiteral("background: black; color: %1;")
                                    .arg(SkinPalette::accent.name()));
}

void TFrmMainForm::buildTimeline()
{
    m_panel1 = new TimelinePanel(this);
    const qreal dpr = 2.0;
    m_panel1->setPictures({SkinPictures::load(QStringLiteral("segment_filler"), dpr),
                           SkinPictures::load(QStringLiteral("segment_span"), dpr),
                           SkinPictures::load(QStringLiteral("marker_start"), dpr).toImage(),
                           SkinPictures::load(QStringLiteral("marker_end"), dpr).toImage(), SkinPalette::card,
                           SkinPalette::card, SkinPalette::playhead});
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

    // Captions end at one right edge inside the settings panel (the layout table places them by
    // that edge), whatever the width of the font.
    fitCaptions({addLabel(QStringLiteral("Output FileType:"), QStringLiteral("lblOutputFileTypeName")),
                 addLabel(QStringLiteral("Profile Settings:"), QStringLiteral("lblProfileSettings")),
                 addLabel(QStringLiteral("Output Folder:"), QStringLiteral("lblOutputFolderInfo"))},
                kLabelsRightEdge - kSettingsPanelLeft);

    m_cbbOutputFiletype = new QComboBox(this);
    m_cbbOutputFiletype->setObjectName(QStringLiteral("cbbOutputFiletype"));
    m_cbbProfile = new QComboBox(this);
    m_cbbProfile->setObjectName(QStringLiteral("cbbProfile"));
    m_btnOptions = addButton(QStringLiteral("options"), QStringLiteral("btnOptions"), QStringLiteral("Ctrl + I"));

    m_edtOutputFolder = new QLineEdit(DefaultOutputFolder(), this);
    m_edtOutputFolder->setObjectName(QStringLiteral("edtOutputFolder"));
    m_edtOutputFolder->setReadOnly(true);
    m_RzBmpButton1 = addButton(QStringLiteral("browse"), QStringLiteral("RzBmpButton1"), QStringLiteral("Ctrl + B"));
    m_btnSelectOutputFolder =
        addButton(QStringLiteral("folder"), QStringLiteral("btnSelectOutputFolder"), QStringLiteral("Ctrl + B"));
    m_btnSelectOutputFolder->hide();
}

QCheckBox *TFrmMainForm::addCheckBox(const QString &name, const QString &caption, const QString &captionName,
                                     QLabel *&captionLabel)
{
    auto *box = new QCheckBox(this);
    box->setObjectName(name);
    captionLabel = addLabel(caption, captionName);
    captionLabel->setCursor(Qt::PointingHandCursor);
    captionLabel->installEventFilter(this);
    return box;
}

void TFrmMainForm::buildCheckBoxes()
{
    m_chkShutdown = addCheckBox(QStringLiteral("chkShutdown"),
                                QStringLiteral("Shutdown computer when job is finished."), QStringLiteral("Label1"),
                                m_label1);
    m_chkShowOutputDirectory = addCheckBox(QStringLiteral("chkShowOutputDirectory"),
                                           QStringLiteral("Show output directory when done"), QStringLiteral("Label2"),
                                           m_label2);
    m_chkShowOutputDirectory->setChecked(true);

    m_label3 = addLabel(QStringLiteral("Click here to download the coder"), QStringLiteral("Label3"));
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
    m_btnOpenFile = addButton(QStringLiteral("open_files"), QStringLiteral("btnOpenFile"), QStringLiteral("Ctrl + O"));
    m_btnRemoveFile =
        addButton(QStringLiteral("remove_files"), QStringLiteral("btnRemoveFile"), QStringLiteral("Ctrl + R"));
    m_btnClearFile =
        addButton(QStringLiteral("clear_files"), QStringLiteral("btnClearFile"), QStringLiteral("Ctrl + L"));
    m_btnConvert = addButton(QStringLiteral("convert"), QStringLiteral("btnConvert"), QStringLiteral("Ctrl + S"));
}

// Right-aligned in its place on the foot of the background.
void TFrmMainForm::buildStatusLine()
{
    m_lblStatusLine = new QLabel(this);
    m_lblStatusLine->setObjectName(QStringLiteral("lblStatusLine"));
    m_lblStatusLine->setFont(SkinStyle::labelFont());
    m_lblStatusLine->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(SkinPalette::textDim.name()));
    m_lblStatusLine->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // It covers the background at the window's foot: presses go through to it, and a drag there
    // moves the window.
    m_lblStatusLine->setAttribute(Qt::WA_TransparentForMouseEvents);
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
    // The status line sums up the list's last run: a cleared list has none.
    connect(this, &TFrmMainForm::clearFilesRequested, m_lblStatusLine, &QLabel::clear);
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
    case MainCommand::Undo: Q_EMIT undoRequested(); break;
    case MainCommand::Redo: Q_EMIT redoRequested(); break;
    case MainCommand::StopAdding: Q_EMIT stopAddingRequested(); break;
    }
}

void TFrmMainForm::setRunLocked(bool locked)
{
    if (locked == m_runLocked)
        return;
    m_runLocked = locked;
    if (!locked) {
        for (const QPointer<QWidget> &control : std::exchange(m_lockedControls, {}))
            if (control)
                control->setEnabled(true);
        return;
    }
    const QList<QWidget *> staying{m_btnWindowMinimize, m_btnWindowClose, m_lblTitle};
    for (QWidget *control : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (control->isWindow() || staying.contains(control) || !control->isEnabled())
            continue; // a control disabled already (Options for OGG) stays as it is afterwards
        control->setEnabled(false);
        m_lockedControls << control;
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
    if (m_runLocked)
        return;
    performCommand(commandForKey(key, modifiers));
}

void TFrmMainForm::closeEvent(QCloseEvent *event)
{
    Q_EMIT closing();
    event->accept();
}

void TFrmMainForm::resizeEvent(QResizeEvent *event)
{
    setMinimumSize(SmallestSize);
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
    if (!m_runLocked && !localFilesOf(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TFrmMainForm::dropEvent(QDropEvent *event)
{
    const QStringList paths = localFilesOf(event->mimeData());
    if (paths.isEmpty() || m_runLocked)
        return;
    event->acceptProposedAction();
    Q_EMIT filesDropped(paths);
}
