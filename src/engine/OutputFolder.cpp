#include "engine/OutputFolder.h"

#include "support/AppFunc.h"
#include "support/Platform.h"

#include <QDir>

QString DefaultOutputFolder()
{
    return QDir::homePath() + QChar(Platform::PathSeparator) + QStringLiteral("Kelvane");
}

QString OutputFolderPath(const QString &folderText)
{
    // The encoder runs in the program folder and takes a name starting with "-" for an option:
    // a relative folder is made absolute here, where the program runs.
    const QString absolute = folderText.isEmpty() ? folderText : QDir(folderText).absolutePath();
    return Platform::withTrailingSeparator(absolute);
}

QString PrepareOutputFolder(const QString &folderText, const TAppFunc &log)
{
    const QString folder = OutputFolderPath(folderText);
    if (QDir().mkpath(folder))
        log.WriteLog(QStringLiteral("Output directory ") + folder);
    else
        log.WriteLog(QStringLiteral("Output directory error. ->") + folder);
    return folder;
}
