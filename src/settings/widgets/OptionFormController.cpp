#include "settings/widgets/OptionFormController.h"

#include "settings/CustomProfiles.h"
#include "settings/widgets/CustomProfileComboBinder.h"
#include "settings/widgets/OptionForm.h"

#include <QCheckBox>
#include <QComboBox>

#include <algorithm>

OptionFormController::OptionFormController(TfrmOption &form, TCustomProfiles &profiles,
                                           OptionSelectionModel &options, HandlerGuard reportFailures)
    : QObject(&form), m_form(form), m_handlers(profiles, options), m_guard(std::move(reportFailures))
{
    new CustomProfileComboBinder(form.cbbCustomProfile(), &profiles.box(),
                                 [this] { m_guard([this] { m_handlers.cbbCustomProfileChange(); }); });
    connectHandler(&TfrmOption::showing, &TOptionDialogHandlers::FormShow);
    // The options a profile holds, changed by the user: the dialog's values are what converts.
    for (QComboBox *selector : {form.cbbAudioBitrate(), form.cbbAudioSample(), form.cbbAudioChannels()})
        connect(selector, &QComboBox::activated, this, [this] { m_guard([this] { m_handlers.ProfileOptionChange(); }); });
    // The check box and the number of files at once show the choices in force when the dialog
    // opens; OK puts them in force, Cancel leaves them as they were.
    connect(&form, &TfrmOption::showing, this, [this, &options] {
        m_form.chkKeepOriginal()->setChecked(options.keepOriginal());
        QComboBox *count = m_form.cbbFilesAtOnce();
        count->setCurrentIndex(std::min(options.filesAtOnce(), count->count()) - 1);
    });
    connect(&form, &TfrmOption::applyRequested, this, [this] {
        m_guard([this] {
            m_handlers.ApplyKeepOriginal(m_form.chkKeepOriginal()->isChecked());
            m_handlers.ApplyFilesAtOnce(m_form.cbbFilesAtOnce()->currentIndex() + 1);
        });
    });
    connectHandler(&TfrmOption::addRequested, &TOptionDialogHandlers::btnAddClick);
    connectHandler(&TfrmOption::saveRequested, &TOptionDialogHandlers::btnSaveClick);
    connectHandler(&TfrmOption::deleteRequested, &TOptionDialogHandlers::btnDelClick);
    connectHandler(&TfrmOption::applyRequested, &TOptionDialogHandlers::btnApplyClick);
    connectHandler(&TfrmOption::cancelRequested, &TOptionDialogHandlers::btnCancelClick);
}

void OptionFormController::connectHandler(void (TfrmOption::*signal)(), void (TOptionDialogHandlers::*handler)())
{
    connect(&m_form, signal, this, [this, handler] { m_guard([this, handler] { (m_handlers.*handler)(); }); });
}
