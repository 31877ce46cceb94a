#include "settings/widgets/QtFolderBrowser.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

std::optional<QString> QtFolderBrowser::chooseFolder(const QString &title)
{
    // Starts at the top of the user's own files, not wherever the program happened to be started.
    const QString folder = QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, QDir::homePath(),
                                                             QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}
