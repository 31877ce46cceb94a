#include "app/Startup.h"

#include "app/CompanionFiles.h"
#include "support/MessageBoxHelpers.h"
#include "support/Platform.h"

namespace {

// Reports every missing companion; true when all are present.
bool CheckCompanions(const QString &programFolder, IMessageBoxes &boxes)
{
    const QStringList missing = CheckRequiredFiles(programFolder);
    for (const QString &message : missing)
        ShowPromptBox(boxes, message, PromptKind::Ok);
    return missing.isEmpty();
}

} // namespace

AppServices::AppServices(const FileLocations &locations, const IClock &clock, IMessageBoxes &boxes,
                         OptionSelectionModel &options, SourceListModel &sources)
    : TServiceObjects(locations, clock, boxes, options, sources), userSettings(locations.configBase)
{
}

StartupResult RunStartup(const QString &programFolder, const QString &exePath, IMessageBoxes &boxes)
{
    StartupResult result;
    const bool complete = CheckCompanions(programFolder, boxes);
    result.quitRequested = !complete;

    const ProductInfoResult product = LoadProductInfo(programFolder, exePath);
    if (!product.ok() && complete)
        ShowPromptBox(boxes, product.error.message, PromptKind::Ok);
    result.quitRequested = result.quitRequested || !product.ok();
    result.info = product.info;
    result.info.ProgramFolder = Platform::withTrailingSeparator(programFolder);
    result.title = ProductTitle(result.info);
    return result;
}
