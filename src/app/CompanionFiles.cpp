#include "CompanionFiles.h"

#include "support/Platform.h"

#include <QFileInfo>

QString FormLibraryName() { return Platform::sharedLibraryName(QStringLiteral("Form")); }

QString ResLibraryName() { return Platform::sharedLibraryName(QStringLiteral("Res")); }

QString CompanionPath(const QString &programFolder, const QString &fileName)
{
    return Platform::withTrailingSeparator(programFolder) + fileName;
}

namespace {

bool isPresent(const QString &programFolder, const QString &fileName)
{
    return QFileInfo(CompanionPath(programFolder, fileName)).isFile();
}

QString notFoundMessage(const QString &fileName)
{
    return QStringLiteral("'%1' is not found. Please reinstall this program.").arg(fileName);
}

} // namespace

QStringList CheckRequiredFiles(const QString &programFolder)
{
    QStringList messages;
    for (const QString &name : {FormLibraryName(), ResLibraryName()}) {
        if (!isPresent(programFolder, name))
            messages << notFoundMessage(name);
    }
    return messages;
}

QString CompanionFailureMessage(const QString &programFolder, const QString &fileName)
{
    if (!isPresent(programFolder, fileName))
        return notFoundMessage(fileName);
    return QStringLiteral("'%1' cannot be used. Please reinstall this program.").arg(fileName);
}
