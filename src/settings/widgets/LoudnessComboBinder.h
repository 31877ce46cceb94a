#pragma once
// Makes the Options dialog's Loudness drop-down a view of the loudness selection: the user's
// pick goes to it (under the handler guard), showing the dialog remembers the choice and
// Cancel gives it back.
#include "support/EscapedFailure.h"

#include <QObject>

class QComboBox;
class TLoudnessSelection;
class TfrmOption;

class LoudnessComboBinder : public QObject {
    Q_OBJECT
public:
    // Lives as a child of the form's combo box; `selection` must outlive it.
    LoudnessComboBinder(TfrmOption &form, TLoudnessSelection &selection, HandlerGuard guard);

    // Fills the entries again and selects the current choice.
    void refresh();

private:
    QComboBox *m_combo;
    TLoudnessSelection &m_selection;
    HandlerGuard m_guard;
};
