#include "engine/EncoderFailure.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace {

// The encoder's message without the "evc: " it begins with.
QString withoutProgramName(const QString &line, const QString &program)
{
    const QString prefix = program + QStringLiteral(": ");
    return !program.isEmpty() && line.startsWith(prefix) ? line.mid(prefix.size()) : line;
}

// An encoder missing from the program folder is named as such: that one the user can mend.
QString startFailure(const QString &encoderPath, const TExitStatus &status)
{
    if (!QFileInfo::exists(encoderPath))
        return QStringLiteral("The encoder \"%1\" is missing. Please install the program again.").arg(encoderPath);
    return QStringLiteral("The encoder \"%1\" could not be started: %2").arg(encoderPath, status.startError);
}

} // namespace

QString LastOutputLine(const QString &chunk)
{
    static const QRegularExpression lineEnd(QStringLiteral("[\r\n]"));
    const QStringList lines = chunk.split(lineEnd, Qt::SkipEmptyParts);
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        if (const QString trimmed = line->trimmed(); !trimmed.isEmpty())
            return trimmed;
    }
    return {};
}

QString EncoderFailure(const QString &encoderPath, const QString &outputPath, const QString &lastLine, bool started,
                       const TExitStatus &status)
{
    if (!started)
        return startFailure(encoderPath, status);
    if (!status.succeeded()) {
        const QString line = withoutProgramName(lastLine, QFileInfo(encoderPath).fileName());
        if (line.isEmpty())
            return QStringLiteral("The encoder failed (%1).").arg(status.describe());
        return QStringLiteral("%1 (the encoder failed: %2)").arg(line, status.describe());
    }
    if (outputPath.isEmpty() || !QFileInfo(outputPath).isFile())
        return QStringLiteral("the encoder ended without writing ") + outputPath;
    return {};
}

QString ConversionFailedLine(const QString &sourcePath, const QString &reason)
{
    return QStringLiteral("Conversion failed: %1 (%2)").arg(sourcePath, reason);
}

QString ConversionStoppedLine(const QString &sourcePath)
{
    return QStringLiteral("Conversion stopped: ") + sourcePath;
}
