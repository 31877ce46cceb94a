#pragma once
// The context menu of a source row. Its first entry, "Audio track", opens the list of the row's
// file's audio tracks in file order ("1: English - AAC stereo (default)"), with the track the
// item converts ticked: the chosen one, else the file's default.
#include "media/SourceItem.h"

#include <functional>

class QMenu;
class QWidget;

// A new menu owned by `parent`; `choose` receives the number of the track the user picks.
QMenu *MakeSourceRowMenu(const SourceItem &item, QWidget *parent, std::function<void(int track)> choose);

// The caption of the "Audio track" entry, the menu's first.
QString AudioTrackMenuTitle();
