#include "ProductInfo.h"

#include "CompanionFiles.h"
#include "CompanionLibrary.h"
#include "VersionInfo.h"
#include "support/Platform.h"

#include <KelvaneCompanions.h>

namespace {

QString resString(KelvaneResStringFn readString, int id)
{
    char buffer[KELVANE_RES_STRING_MAX + 1] = {};
    const int length = readString(id, buffer, int(sizeof buffer));
    return QString::fromUtf8(buffer, qBound(0, length, KELVANE_RES_STRING_MAX));
}

RecSoftInfo readStrings(KelvaneResStringFn readString)
{
    RecSoftInfo info;
    info.MakerName = resString(readString, KELVANE_RES_MAKER_NAME);
    info.ProductName = resString(readString, KELVANE_RES_PRODUCT_NAME);
    info.ProductText2 = resString(readString, KELVANE_RES_PRODUCT_TEXT2);
    info.HomePage = resString(readString, KELVANE_RES_HOME_PAGE);
    info.SupportEmail = resString(readString, KELVANE_RES_SUPPORT_EMAIL);
    info.ProductText7 = resString(readString, KELVANE_RES_PRODUCT_TEXT7);
    return info;
}

} // namespace

ProductInfoResult LoadProductInfo(const QString &programFolder, const QString &exePath)
{
    ProductInfoResult result;
    CompanionLibrary library(CompanionPath(programFolder, ResLibraryName()));
    const auto readString = library.function<KelvaneResStringFn>(KELVANE_RES_STRING_SYMBOL);
    if (!readString) {
        result.error = {CompanionFailureMessage(programFolder, ResLibraryName()), library.errorText()};
        return result;
    }
    result.info = readStrings(readString);
    result.info.Version = ReadVersionText(exePath);
    result.info.ProgramFolder = Platform::withTrailingSeparator(programFolder);
    return result;
}

QString ProductTitle(const RecSoftInfo &info) { return info.ProductName + QLatin1Char(' ') + info.Version; }
