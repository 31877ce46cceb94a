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
    const QString folder = Platform::withTrailingSeparator(folderText);
    if (QDir().mkpath(folder))
        log.WriteLog(QStringLiteral("Output directory ") + folder);
    else
        log.WriteLog(QStringLiteral("Output directory error. ->") + folder);
    return folder;
}
