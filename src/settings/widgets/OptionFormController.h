#pragma once
// Connects the Options dialog to its handlers: the show handler, the name box, Add, Save,
// Delete, OK and Cancel. A failure in a handler ends that handler and goes to `reportFailures`,
// the application's general error display, so that none unwinds through the toolkit.
#include "settings/OptionDialogHandlers.h"
#include "support/EscapedFailure.h"

#include <QObject>
#include <functional>

class TCustomProfiles;
class TfrmOption;

class OptionFormController : public QObject {
    Q_OBJECT
public:
    // Lives as a child of `form`; `profiles` and `options` must outlive it.
    OptionFormController(TfrmOption &form, TCustomProfiles &profiles, OptionSelectionModel &options,
                         HandlerGuard reportFailures);

    TOptionDialogHandlers &handlers() { return m_handlers; }

private:
    void connectHandler(void (TfrmOption::*signal)(), void (TOptionDialogHandlers::*handler)());

    TfrmOption &m_form;
    TOptionDialogHandlers m_handlers;
    HandlerGuard m_guard;
};
