#include "SplashJpeg.h"

#include "CompanionFiles.h"
#include "CompanionLibrary.h"

#include <KelvaneCompanions.h>

SplashJpegResult LoadSplashJpeg(const QString &programFolder, const char *name)
{
    SplashJpegResult result;
    CompanionLibrary library(CompanionPath(programFolder, ResLibraryName()));
    const auto readResource = library.function<KelvaneResResourceFn>(KELVANE_RES_RESOURCE_SYMBOL);
    if (!readResource) {
        result.error = {CompanionFailureMessage(programFolder, ResLibraryName()), library.errorText()};
        return result;
    }
    size_t size = 0;
    const unsigned char *bytes = readResource(name, "jpeg", &size);
    if (!bytes || size == 0) {
        result.error = {CompanionFailureMessage(programFolder, ResLibraryName()),
                        QStringLiteral("no resource \"%1\" of type \"jpeg\"").arg(QLatin1String(name))};
        return result;
    }
    result.jpeg = QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(size));
    return result;
}
