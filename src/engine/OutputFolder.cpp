#include "engine/OutputFolder.h"

#include "support/AppFunc.h"
#include "support/Platform.h"

#include <QDir>

QString DefaultOutputFolder()
{
    return QDir::homePath() + QChar(Platform::PathSeparator) + QStringLiteral("Kelvane");
}

QString PrepareOutputFolder(const QString &folderText, const TAppFunc &log)
{
    // The encoder runs in the program folder and takes a name starting with "-" for an option:
    // a relative folder is made absolute here, where it is created.
    const QString absolute = folderText.isEmpty() ? folderText : QDir(folderText).absolutePath();
    const QString folder = Platform::withTrailingSeparator(absolute);
    if (QDir().mkpath(folder))
        log.WriteLog(QStringLiteral("Output directory ") + folder);
    else
        log.WriteLog(QStringLiteral("Output directory error. ->") + folder);
    return folder;
}
