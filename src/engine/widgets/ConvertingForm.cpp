#include "engine/widgets/ConvertingForm.h"

#include "skin/widgets/SkinPalette.h"
#include "skin/widgets/SkinPictures.h"
#include "skin/widgets/SkinnedWindow.h"

#include <QBitmap>
#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

namespace {

constexpr int ClientWidth = 435;
constexpr int ClientHeight = 222;

// The window on its own: a dark background of its own and blue bars.
const char *const PlainStyle =
    "TfrmConverting { background: #23272e; }"
    "QLabel { color: #d6dbe2; }"
    "QProgressBar { border: 1px solid #4a5260; background: #181b20; color: #d6dbe2; text-align: center; }"
    "QProgressBar::chunk { background: #3d7bd9; }"
    "QPushButton { color: #eef1f5; background: #39414d; border: 1px solid #56606f; padding: 3px; }"
    "QPushButton:hover { background: #465061; }"
    "QStatusBar { color: #aab2bd; background: #1b1e23; }";

// The window over the skin's picture: the picture shows through the window and the status bar;
// the bars take the skin's well and accent colours and round corners.
QString skinnedStyle()
{
    return QStringLiteral("QLabel { color: #d6dbe2; }"
                          "QProgressBar { border: 1px solid #4a5260; border-radius: 3px; background: %1;"
                          " color: #d6dbe2; text-align: center; }"
                          "QProgressBar::chunk { background: %2; border-radius: 2px; }"
                          "QPushButton { color: #eef1f5; background: #39414d; border: 1px solid #56606f; padding: 3px; }"
                          "QPushButton:hover { background: #465061; }"
                          "QStatusBar { color: #aab2bd; background: transparent; }")
        .arg(SkinPalette::well.name(), SkinPalette::accent.name());
}

// A push button that, once given a picture name, draws the skin's up, hot and down pictures
// (which carry the caption) instead of the style's button.
class SkinPushButton final : public QPushButton {
public:
    using QPushButton::QPushButton;

    void setPicture(const QString &name)
    {
        m_picture = name;
        setAttribute(Qt::WA_Hover);
        setCursor(Qt::PointingHandCursor);
        update();
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        if (m_picture.isEmpty()) {
            QPushButton::paintEvent(event);
            return;
        }
        const char *state = isDown() ? "_down" : underMouse() ? "_hot" : "_up";
        QPainter painter(this);
        painter.drawPixmap(rect(), SkinPictures::load(m_picture + QLatin1String(state), devicePixelRatioF()));
    }

private:
    QString m_picture;
};

QLabel *placeLabel(QWidget *parent, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

QProgressBar *placeBar(QWidget *parent, const QRect &geometry)
{
    auto *bar = new QProgressBar(parent);
    bar->setGeometry(geometry);
    bar->setTextVisible(false);
    return bar;
}

void showBar(QProgressBar *bar, const TBarState &state)
{
    bar->setRange(state.minimum, state.maximum);
    bar->setValue(qBound(state.minimum, state.position, qMax(state.minimum, state.maximum)));
}

// A long path is shortened in its middle, so that the file name stays in view; the whole
// path is the label's tip.
void showPath(QLabel *label, const QString &path)
{
    label->setToolTip(path);
    label->setText(label->fontMetrics().elidedText(path, Qt::ElideMiddle, label->contentsRect().width()));
}

// Several files: their names as far as they fit, every path in the tip.
void showFiles(QLabel *label, const QString &line, const QStringList &paths)
{
    label->setToolTip(paths.join(u'\n'));
    label->setText(label->fontMetrics().elidedText(line, Qt::ElideRight, label->contentsRect().width()));
}

} // namespace

TfrmConverting::TfrmConverting(TProgressRefresh &model, IMessageBoxes &messages, QWidget *parent)
    : QDialog(parent), m_model(model), m_commands(messages, model)
{
    setObjectName(QStringLiteral("frmConverting"));
    setWindowTitle(QStringLiteral("Converting"));
    setFixedSize(ClientWidth, ClientHeight);
    setStyleSheet(QString::fromLatin1(PlainStyle));
    createComponents();

    connect(&m_model, &TProgressRefresh::changed, this, &TfrmConverting::updateView);
    connect(btnStop, &QPushButton::clicked, this, &TfrmConverting::btnStop1Click);
    connect(&m_commands, &TConvertingCommands::stopRequested, this, [this] {
        hide();
        Q_EMIT stopRequested();
    });
    connect(&m_commands, &TConvertingCommands::closeStop, this, &TfrmConverting::closeStop);
    connect(&tmrChanging, &QTimer::timeout, &m_model, &TProgressRefresh::tmrChangingTimer);
    tmrChanging.start(500);
}

void TfrmConverting::createComponents()
{
    lblInfo = placeLabel(this, QStringLiteral("Please wait . . ."), {20, 12, 395, 20});
    lblInfo->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));
    lblCurConvertFileL = placeLabel(this, QStringLiteral("Current Convert File:"), {20, 42, 135, 18});
    lblCurFileName = placeLabel(this, QString(), {155, 42, 260, 18});
    lblCurprog = placeLabel(this, QStringLiteral("Current File:"), {20, 70, 200, 18});
    ProgressBar1 = placeBar(this, {20, 90, 395, 16});
    lblTotalFilr = placeLabel(this, QStringLiteral("Total File:"), {20, 114, 200, 18});
    pbTotal = placeBar(this, {20, 134, 395, 16});
    lblPersent = placeLabel(this, QStringLiteral("Current: 1, Total: ..."), {20, 164, 280, 18});
    btnStop = new SkinPushButton(QStringLiteral("Stop"), this);
    btnStop->setGeometry(335, 160, 80, 26);
    statState = new QStatusBar(this);
    statState->setSizeGripEnabled(false);
    statState->setGeometry(0, ClientHeight - 22, ClientWidth, 22);
    statStatePanel = new QLabel(statState);
    statStatePanel->setFixedWidth(50);
    statStatePanel->setContentsMargins(4, 0, 0, 0);
    statState->addWidget(statStatePanel);
    showBar(ProgressBar1, m_model.currentBar());
    showBar(pbTotal, m_model.totalBar());
}

void TfrmConverting::setSkin(const QPixmap &background)
{
    if (background.isNull())
        return;
    m_skin = background;
    const QSize size = background.deviceIndependentSize().toSize();
    setWindowFlag(Qt::FramelessWindowHint, true);
    setFixedSize(size);
    setStyleSheet(skinnedStyle());
    // The outline is cut at the window's own size, also from a picture drawn for a dense screen.
    QImage picture = background.toImage();
    if (picture.size() != size)
        picture = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    setMask(SkinnedWindow::outlineOf(picture));
    placeOnSkin();
}

// The skin's header holds the status line beside the logo; the card below it the file and the
// two bars; the bottom band the counts and the Stop picture button.
void TfrmConverting::placeOnSkin()
{
    lblInfo->setGeometry(50, 14, 365, 22);
    lblCurConvertFileL->setGeometry(26, 64, 128, 18);
    lblCurFileName->setGeometry(154, 64, 257, 18);
    lblCurprog->setGeometry(26, 86, 200, 18);
    ProgressBar1->setGeometry(26, 106, 383, 12);
    lblTotalFilr->setGeometry(26, 128, 200, 18);
    pbTotal->setGeometry(26, 148, 383, 12);
    lblPersent->setGeometry(26, 181, 290, 18);
    statState->setGeometry(22, 199, 300, 16);
    statStatePanel->setFixedWidth(296);
    QFont small = statStatePanel->font();
    small.setPixelSize(10);
    statStatePanel->setFont(small);
    statStatePanel->setStyleSheet(QStringLiteral("color: #8d97a6;"));
    btnStop->setGeometry(331, 184, 80, 26);
    static_cast<SkinPushButton *>(btnStop)->setPicture(QStringLiteral("progress_stop"));
    lblCurFileName->setStyleSheet(QStringLiteral("color: white;"));
}

void TfrmConverting::paintEvent(QPaintEvent *event)
{
    if (m_skin.isNull()) {
        QDialog::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_skin);
}

void TfrmConverting::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmConverting::FormShow()
{
    const auto [inputPath, checkedCount] = m_showInputs ? m_showInputs() : std::pair<QString, int>{};
    m_model.FormShow(inputPath, checkedCount);
}

void TfrmConverting::closeEvent(QCloseEvent *event)
{
    event->setAccepted(m_commands.close());
}

void TfrmConverting::btnStop1Click()
{
    m_commands.stop();
}

void TfrmConverting::updateView()
{
    lblInfo->setText(m_model.lblInfo());
    if (const QStringList files = m_model.filesInProgress(); files.size() > 1)
        showFiles(lblCurFileName, m_model.lblCurFileName(), files);
    else
        showPath(lblCurFileName, m_model.lblCurFileName());
    lblPersent->setText(m_model.lblPersent());
    statStatePanel->setText(m_model.statState());
    showBar(ProgressBar1, m_model.currentBar());
    showBar(pbTotal, m_model.totalBar());
}
