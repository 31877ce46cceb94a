#include "settings/widgets/QtFolderBrowser.h"

#include <QApplication>
#include <QFileDialog>

std::optional<QString> QtFolderBrowser::chooseFolder(const QString &title)
{
    const QString folder = QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, QString(),
                                                             QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}
