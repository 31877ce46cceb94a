#include "SplashJpeg.h"

#include "CompanionFiles.h"
#include "CompanionLibrary.h"

#include <KelvaneCompanions.h>

SplashJpegResult LoadSplashJpeg(const QString &programFolder)
{
    SplashJpegResult result;
    CompanionLibrary library(CompanionPath(programFolder, ResLibraryName()));
    const auto readResource = library.function<KelvaneResResourceFn>(KELVANE_RES_RESOURCE_SYMBOL);
    if (!readResource) {
        result.error = {CompanionFailureMessage(programFolder, ResLibraryName()), library.errorText()};
        return result;
    }
    size_t size = 0;
    const unsigned char *bytes = readResource("ImgFlash", "jpeg", &size);
    if (!bytes || size == 0) {
        result.error = {CompanionFailureMessage(programFolder, ResLibraryName()),
                        QStringLiteral("no resource \"ImgFlash\" of type \"jpeg\"")};
        return result;
    }
    result.jpeg = QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(size));
    return result;
}
