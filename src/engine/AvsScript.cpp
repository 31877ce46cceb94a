#include "engine/AvsScript.h"

#include <QSaveFile>

QString AvsScriptPath(const QString &folder)
{
    return folder + QStringLiteral("VideoFile.avs");
}

QString AvsScriptLine(const QString &inputPath)
{
    return QStringLiteral("DirectShowSource(\"") + inputPath + QStringLiteral("\", fps=29.9700898503294, convertfps=true)");
}

void WriteAvsScript(const QString &folder, const QString &inputPath)
{
    const QByteArray bytes = AvsScriptLine(inputPath).toUtf8() + "\r\n";
    QSaveFile file(AvsScriptPath(folder));
    // Unbuffered: a disk that takes only part of the line fails the write (see TIniFile32).
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes) != bytes.size()
        || !file.commit())
        throw AvsWriteError(QStringLiteral("Cannot write '%1': %2").arg(file.fileName(), file.errorString()).toStdString());
}
