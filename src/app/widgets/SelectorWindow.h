#pragma once
// A plain window with the output-type and quality selectors over the option model; it stands
// in until the main window arrives.
#include "media/SourceListModel.h"
#include "services/CommonLib.h"
#include "services/CustomProc.h"
#include "settings/OptionSelectionModel.h"
#include "support/widgets/QtMessageBoxes.h"

#include <QWidget>

class SelectorWindow : public QWidget {
    Q_OBJECT
public:
    explicit SelectorWindow(QWidget *parent = nullptr);

private:
    SystemClock m_clock;
    QtMessageBoxes m_boxes;
    OptionSelectionModel m_options;
    SourceListModel m_sources;
    TCommonLib m_common;
    TCustomProc m_customProc;
};
