#pragma once
// The start-up sequence that runs while the splash is up: the program-wide service objects,
// the companion check, the product information and the window title.
#include "app/ProductInfo.h"
#include "services/ServiceObjects.h"
#include "settings/UserSettings.h"
#include "support/FileLocations.h"
#include "support/StrFunc.h"
#include "support/SysFunc.h"

class IClock;
class IMessageBoxes;
class OptionSelectionModel;
class SourceListModel;

// The service and utility objects; created once and kept until the program ends.
struct AppServices : TServiceObjects {
    // Every collaborator must outlive the services; every folder of `locations` ends with the
    // separator.
    AppServices(const FileLocations &locations, const IClock &clock, IMessageBoxes &boxes,
                OptionSelectionModel &options, SourceListModel &sources);

    TSysFunc sysFunc;
    TStrFunc strFunc;
    TUserSettings userSettings;
};

struct StartupResult {
    RecSoftInfo info;
    QString title;              // ProductName + " " + Version
    bool quitRequested = false; // a companion is missing or unusable: end after the splash
};

// Checks libForm.so and then libRes.so in the program folder (one information box for each
// missing one), reads the product information and builds the title. When libRes.so is present
// but cannot be used, that is reported too. The program is to end whenever a box was shown.
StartupResult RunStartup(const QString &programFolder, const QString &exePath, IMessageBoxes &boxes);
