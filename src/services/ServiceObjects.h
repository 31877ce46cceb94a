#pragma once
// The two long-lived service objects, made together the one way the program makes them; the
// program, the batch benchmark and the tests of a conversion all set them up through this.
#include "services/CommonLib.h"
#include "services/CustomProc.h"
#include "support/FileLocations.h"

class IClock;
class IMessageBoxes;
class OptionSelectionModel;
class SourceListModel;

struct TServiceObjects {
    // Every collaborator must outlive the objects; every folder of `locations` ends with the
    // separator.
    TServiceObjects(const FileLocations &locations, const IClock &clock, IMessageBoxes &boxes,
                    OptionSelectionModel &options, SourceListModel &sources);

    TCommonLib common; // also holds TAppFunc and TFileFunc
    TCustomProc customProc;
};
