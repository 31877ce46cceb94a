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
    mainForm.show();
    return QApplication::exec();
}
