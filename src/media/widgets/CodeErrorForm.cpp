#include "media/widgets/CodeErrorForm.h"

#include "skin/widgets/MessageIconPicture.h"
#include "skin/widgets/SkinPalette.h"
#include "skin/widgets/SkinStyle.h"

#include "media/CodecHelp.h"
#include "media/widgets/LinkLabel.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QTextLayout>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// Where the word-wrapped text of `label` ends: the width and top of its last line.
QPointF endOfText(const QLabel &label)
{
    QTextLayout layout(label.text(), label.font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    qreal top = 0;
    QPointF end;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label.width());
        line.setPosition(QPointF(0, top));
        end = QPointF(line.naturalTextWidth(), top);
        top += line.height();
    }
    layout.endLayout();
    return end;
}

// Lets `link` follow the text of `label` on its last line, or start the next line when the
// rest of the last line is too short for it, whatever the size of the user's font.
void placeAfterText(const QLabel &label, QWidget &link)
{
    const QPointF end = endOfText(label);
    const int gap = label.fontMetrics().horizontalAdvance(QLatin1Char(' '));
    const int lineHeight = label.fontMetrics().lineSpacing();
    if (end.x() + gap + link.width() <= label.width())
        link.move(label.x() + int(end.x()) + gap, label.y() + int(end.y()));
    else
        link.move(label.x(), label.y() + int(end.y()) + lineHeight);
}

} // namespace

TFrmCodeErrorForm::TFrmCodeErrorForm(IShellLauncher &shell, QWidget *owner, const QString &fileName)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_shell(shell)
{
    setWindowTitle(QStringLiteral("Error Info"));
    setFixedSize(413, 96);
    SkinStyle::applyTo(this);

    Image1 = new QLabel(this);
    Image1->setGeometry(8, 13, 32, 32);
    Image1->setAttribute(Qt::WA_TranslucentBackground);
    Image1->setPixmap(MessageIconPicture(MessageIcon::Warning, devicePixelRatioF())); // as in the message boxes

    Label1 = new QLabel(QStringLiteral("Files reading error! Please check your files or install a new codec. "
                                       "You can click the link to download the latest codec."),
                        this);
    Label1->setWordWrap(true);
    Label1->setGeometry(48, 16, 357, std::max(30, Label1->heightForWidth(357))); // large fonts need more
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Label2 = new LinkLabel(QStringLiteral("(Click here to download)"), this);
    Label2->setStyleSheet(QStringLiteral("color: %1;").arg(SkinPalette::accent.name()));
    Label2->adjustSize();
    placeAfterText(*Label1, *Label2); // in the designer's font it sat at 258,30
    connect(Label2, &LinkLabel::clicked, this, &TFrmCodeErrorForm::Label2Click);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setGeometry(328, 61, 75, 25);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    // Several files may be refused in one go: each window says which one it is about.
    lblFileName = new QLabel(this);
    lblFileName->setGeometry(8, 64, 312, 20);
    lblFileName->setText(lblFileName->fontMetrics().elidedText(fileName, Qt::ElideMiddle, lblFileName->width()));
    lblFileName->setToolTip(fileName);
}

void TFrmCodeErrorForm::Label2Click() { OpenCodecHelp(m_shell); }

TFrmRefusedFilesForm::TFrmRefusedFilesForm(IShellLauncher &shell, QWidget *owner, const QList<RefusedSourceFile> &files)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Kelvane"));
    SkinStyle::applyTo(this);
    auto *layout = new QVBoxLayout(this);
    lblFiles = new QLabel(RefusedFilesText(files), this);
    lblFiles->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblFiles->setWordWrap(true);
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(lblFiles);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setMinimumSize(460, std::min(320, lblFiles->heightForWidth(440) + 8));
    layout->addWidget(scroll);
    const bool codecMatter = std::any_of(files.cbegin(), files.cend(),
                                         [](const RefusedSourceFile &file) { return IsCodecRefusal(file.refusal); });
    if (codecMatter) {
        lblCodecLink = new LinkLabel(QStringLiteral("(Click here to download the latest codec)"), this);
        lblCodecLink->setStyleSheet(QStringLiteral("color: %1;").arg(SkinPalette::accent.name()));
        connect(lblCodecLink, &LinkLabel::clicked, this, [&shell] { OpenCodecHelp(shell); });
        layout->addWidget(lblCodecLink);
    }
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(btnOK, 0, Qt::AlignRight);
}

namespace {

// The window is its owner's child: should the owner go while the window is open (the program
// ends), the owner deletes it, so it is never a variable of this function.
void showOwnedModally(QDialog *created)
{
    const QPointer<QDialog> window = created;
    window->exec();
    delete window.data();
}

} // namespace

void CodeErrorWindowReporter::ReportRefusedFiles(const QList<RefusedSourceFile> &files)
{
    if (files.isEmpty())
        return;
    if (files.size() == 1 && IsCodecRefusal(files.first().refusal))
        showOwnedModally(new TFrmCodeErrorForm(m_shell, m_owner, files.first().path));
    else
        showOwnedModally(new TFrmRefusedFilesForm(m_shell, m_owner, files));
}
