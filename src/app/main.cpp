#include "app/widgets/MainForm.h"
#include "services/widgets/DesktopShellLauncher.h"
#include "settings/widgets/OptionForm.h"
#include "support/Platform.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    DesktopShellLauncher shell;
    TFrmMainForm mainForm(shell, Platform::withTrailingSeparator(QApplication::applicationDirPath()));
    TfrmOption optionForm;
    QObject::connect(&mainForm, &TFrmMainForm::optionsRequested, &optionForm, &TfrmOption::showModeless);
    // Closing the main window ends the program, also while the Options dialog is open.
    QObject::connect(&mainForm, &TFrmMainForm::closing, &app, &QApplication::quit);
    mainForm.show();
    return QApplication::exec();
}
