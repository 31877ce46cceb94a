#include "services/ServiceObjects.h"

TServiceObjects::TServiceObjects(const FileLocations &locations, const IClock &clock, IMessageBoxes &boxes,
                                 OptionSelectionModel &options, SourceListModel &sources)
    : common(locations, clock, boxes), customProc(common, options, sources)
{
}
