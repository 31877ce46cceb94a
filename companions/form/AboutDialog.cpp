#include "AboutDialog.h"

#include "KelvaneArt.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char *const DialogStyle = R"(
QDialog#KelvaneAboutDialog { background: #1e2230; }
QLabel { color: #d5dbe6; background: transparent; }
QLabel#productTitle { color: #f2f5fa; font-size: 22px; font-weight: bold; }
QLabel#makerName { color: #9aa5b8; }
QLabel#productText7 { color: #7d889b; font-size: 11px; }
QFrame#divider { background: #2ed3c6; max-height: 1px; min-height: 1px; border: none; }
QPushButton { background: #2ed3c6; color: #12151e; border: none; border-radius: 4px;
              padding: 6px 26px; font-weight: bold; }
QPushButton:hover { background: #6ce8ff; }
QPushButton:pressed { background: #22a89e; }
QPushButton:focus { outline: none; border: 1px solid #f2f5fa; }
)";

class LogoWidget : public QWidget {
public:
    explicit LogoWidget(QWidget *parent) : QWidget(parent) { setFixedSize(64, 64); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        KelvaneArt::paintLogo(painter, QRectF(rect()).adjusted(1, 1, -1, -1));
    }
};

QLabel *newLabel(const QString &text, const char *objectName, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(objectName));
    label->setWordWrap(true);
    return label;
}

QLabel *newLinkLabel(const QString &caption, const QString &target, const QString &shown, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::RichText);
    label->setText(caption.toHtmlEscaped() + QStringLiteral(" <a style=\"color:#6ce8ff; text-decoration:none\" href=\"")
                   + target.toHtmlEscaped() + QStringLiteral("\">") + shown.toHtmlEscaped() + QStringLiteral("</a>"));
    label->setOpenExternalLinks(true);
    label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    return label;
}

QLayout *headerRow(const AboutTexts &texts, QWidget *dialog)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(16);
    row->addWidget(new LogoWidget(dialog), 0, Qt::AlignTop);
    auto *names = new QVBoxLayout;
    names->setSpacing(2);
    const QString title = texts.version.isEmpty() ? texts.productName
                                                  : texts.productName + QStringLiteral(" ") + texts.version;
    names->addWidget(newLabel(title, "productTitle", dialog));
    names->addWidget(newLabel(texts.makerName, "makerName", dialog));
    names->addStretch();
    row->addLayout(names, 1);
    return row;
}

void addContactRows(QVBoxLayout *column, const AboutTexts &texts, QWidget *dialog)
{
    if (!texts.homePage.isEmpty())
        column->addWidget(newLinkLabel(QStringLiteral("Home page:"), texts.homePage, texts.homePage, dialog));
    if (!texts.supportEmail.isEmpty())
        column->addWidget(newLinkLabel(QStringLiteral("Support:"), QStringLiteral("mailto:") + texts.supportEmail,
                                       texts.supportEmail, dialog));
}

QLayout *buttonRow(QDialog *dialog)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    auto *ok = new QPushButton(QStringLiteral("OK"), dialog);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    ok->setCursor(Qt::PointingHandCursor);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    row->addWidget(ok);
    return row;
}

} // namespace

QDialog *createAboutDialog(const AboutTexts &texts, QWidget *parent)
{
    auto *dialog = new QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    dialog->setObjectName(QLatin1String(AboutDialogObjectName));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QStringLiteral("About ") + texts.productName);
    dialog->setStyleSheet(QLatin1String(DialogStyle));

    auto *column = new QVBoxLayout(dialog);
    column->setContentsMargins(24, 22, 24, 18);
    column->setSpacing(10);
    column->addLayout(headerRow(texts, dialog));
    QLabel *description = newLabel(texts.productText2, "productText2", dialog);
    description->setMinimumWidth(380);
    column->addWidget(description);
    auto *divider = new QFrame(dialog);
    divider->setObjectName(QStringLiteral("divider"));
    column->addWidget(divider);
    addContactRows(column, texts, dialog);
    column->addWidget(newLabel(texts.productText7, "productText7", dialog));
    column->addSpacing(6);
    column->addLayout(buttonRow(dialog));
    column->setSizeConstraint(QLayout::SetFixedSize);
    return dialog;
}
