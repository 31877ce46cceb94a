#pragma once
// "Error Info": tells the user a file could not be read and links to help on installing codecs.
#include "media/CodecErrorReporter.h"
#include "platform/PlatformServices.h"

#include <QDialog>

class QLabel;
class QPushButton;
class LinkLabel;

class TFrmCodeErrorForm final : public QDialog {
    Q_OBJECT
public:
    // `fileName`, when given, is shown left of the button (shortened in the middle to fit).
    TFrmCodeErrorForm(IShellLauncher &shell, QWidget *owner, const QString &fileName = {});

    QLabel *Image1 = nullptr;
    QLabel *Label1 = nullptr;
    LinkLabel *Label2 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QLabel *lblFileName = nullptr;

private:
    void Label2Click();

    IShellLauncher &m_shell;
};

// The files one add operation left out, each with its reason, in one window; the codec link
// is offered when a decoder was missing for one of them.
class TFrmRefusedFilesForm final : public QDialog {
    Q_OBJECT
public:
    TFrmRefusedFilesForm(IShellLauncher &shell, QWidget *owner, const QList<RefusedSourceFile> &files);

    QLabel *lblFiles = nullptr;
    LinkLabel *lblCodecLink = nullptr; // null when no file is a codec matter
    QPushButton *btnOK = nullptr;
};

// Shows, modally and owned by `owner`, the "Error Info" window for a single file that no
// decoder reads, and the list window for anything else.
class CodeErrorWindowReporter final : public ICodecErrorReporter {
public:
    CodeErrorWindowReporter(IShellLauncher &shell, QWidget *owner) : m_shell(shell), m_owner(owner) {}
    void ReportRefusedFiles(const QList<RefusedSourceFile> &files) override;

private:
    IShellLauncher &m_shell;
    QWidget *m_owner;
};
