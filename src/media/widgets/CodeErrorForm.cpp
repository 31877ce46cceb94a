#include "media/widgets/CodeErrorForm.h"

#include "media/CodecHelp.h"
#include "media/widgets/LinkLabel.h"
#include "media/widgets/WarningPicture.h"

#include <QLabel>
#include <QPushButton>

TFrmCodeErrorForm::TFrmCodeErrorForm(IShellLauncher &shell, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_shell(shell)
{
    setWindowTitle(QStringLiteral("Error Info"));
    setFixedSize(413, 96);

    Image1 = new QLabel(this);
    Image1->setGeometry(8, 13, 32, 32);
    Image1->setAttribute(Qt::WA_TranslucentBackground);
    Image1->setPixmap(WarningPicture());

    Label1 = new QLabel(QStringLiteral("Files reading error! Please check your files or install a new codec."
                                       "You can click the link to download the lastest codec."),
                        this);
    Label1->setGeometry(48, 16, 357, 30);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Label2 = new LinkLabel(QStringLiteral("(Click here to down)"), this);
    Label2->move(258, 30);
    Label2->adjustSize();
    connect(Label2, &LinkLabel::clicked, this, &TFrmCodeErrorForm::Label2Click);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setGeometry(328, 61, 75, 25);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

void TFrmCodeErrorForm::Label2Click() { OpenCodecHelp(m_shell); }

void CodeErrorWindowReporter::ShowReadErrorWindow()
{
    TFrmCodeErrorForm window(m_shell, m_owner);
    window.exec();
}
