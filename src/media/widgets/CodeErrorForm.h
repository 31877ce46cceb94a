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

// Shows a new "Error Info" window owned by `owner`, modally, for every refused file.
class CodeErrorWindowReporter final : public ICodecErrorReporter {
public:
    CodeErrorWindowReporter(IShellLauncher &shell, QWidget *owner) : m_shell(shell), m_owner(owner) {}
    void ShowReadErrorWindow(const QString &path) override;

private:
    IShellLauncher &m_shell;
    QWidget *m_owner;
};
