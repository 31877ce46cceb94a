#include "app/widgets/AppWindows.h"

#include "app/AboutLauncher.h"
#include "app/CompanionFiles.h"
#include "app/KeyboardCommands.h"
#include "support/EscapedFailure.h"
#include "app/widgets/CloseGuard.h"
#include "app/widgets/FlashForm.h"
#include "app/widgets/MainForm.h"
#include "skin/widgets/PictureButton.h"
#include "skin/widgets/SkinPictures.h"
#include "app/widgets/SplashImage.h"
#include "engine/ConvertingCommands.h"
#include "engine/widgets/ConversionController.h"
#include "media/SourceListHistory.h"
#include "media/SourceListStore.h"
#include "media/widgets/InitFileForm.h"
#include "media/widgets/PreviewControls.h"
#include "media/widgets/PreviewKeyBindings.h"
#include "media/widgets/SegmentController.h"
#include "media/widgets/SourceListController.h"
#include "media/widgets/SourceListView.h"
#include "engine/widgets/ConvertingForm.h"
#include "settings/widgets/OptionForm.h"
#include "settings/widgets/OptionFormController.h"
#include "settings/LoudnessSelection.h"
#include "settings/widgets/LoudnessComboBinder.h"
#include "settings/widgets/SelectorComboBinder.h"
#include "services/ConvertedRows.h"
#include "settings/ConfigFiles.h"
#include "support/MessageBoxHelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QScreen>
#include <QThread>
#include <QTreeView>
#include <utility>

namespace {


// While a mouse button is held anywhere in the program, the list's changes make one step of its
// history: a marker dragged across the timeline is one change, undone at once.
class HeldButtons final : public QObject {
public:
    explicit HeldButtons(SourceListHistory &history) : m_history(history) { qApp->installEventFilter(this); }
    ~HeldButtons() override
    {
        if (m_held)
            m_history.releaseSteps();
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (!std::exchange(m_held, true))
                m_history.holdSteps();
            break;
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove: // a release another program took (a drag) shows here
            if (m_held && static_cast<QMouseEvent *>(event)->buttons() == Qt::NoButton) {
                m_held = false;
                m_history.releaseSteps();
            }
            break;
        default: break;
        }
        return false;
    }

private:
    SourceListHistory &m_history;
    bool m_held = false;
};

qreal screenPixelRatio()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

// Runs `handler` in `context` whenever `signal` comes, under `guard`: a failure is shown, it
// never unwinds through Qt.
template <typename Sender, typename Signal>
void connectGuarded(Sender *sender, Signal signal, QObject *context, HandlerGuard guard, std::function<void()> handler)
{
    QObject::connect(sender, signal, context,
                     [guard = std::move(guard), handler = std::move(handler)] { guard(handler); });
}

} // namespace

AppWindows::AppWindows(QString programFolder, QString exePath, DesktopServices desktop, QObject *parent)
    : AppWindows(FileLocations::portableIn(programFolder), std::move(exePath), desktop, parent)
{
}

AppWindows::AppWindows(FileLocations locations, QString exePath, DesktopServices desktop, QObject *parent)
    : QObject(parent), m_locations(std::move(locations)), m_programFolder(m_locations.programFolder),
      m_exePath(std::move(exePath)), m_desktop(desktop)
{
    createWindows();
    bindSelectors();
}

AppWindows::~AppWindows()
{
    if (m_flashForm)
        delete m_flashForm.data();
}

// The windows are created hidden, in this order: main window, progress window, Options dialog
// and the busy window of the source list.
void AppWindows::createWindows()
{
    m_mainForm = std::make_unique<TFrmMainForm>(m_desktop.shell, m_programFolder);
    m_convertingForm = std::make_unique<TfrmConverting>(m_progress, m_desktop.boxes);
    m_convertingForm->setSkin(SkinPictures::load(QStringLiteral("progress_background"), screenPixelRatio()));
    m_optionForm = std::make_unique<TfrmOption>();
    // The busy window shown while files are added joins here with the source list's controller.
    m_codecErrors = std::make_unique<CodeErrorWindowReporter>(m_desktop.shell, m_mainForm.get());
}

void AppWindows::bindSelectors()
{
    const auto apply = [this] { applyQualityProfile(); };
    new SelectorComboBinder(m_mainForm->cbbOutputFiletype(), &m_options, Selector::OutputType, apply);
    new SelectorComboBinder(m_mainForm->cbbProfile(), &m_options, Selector::Quality, apply);
    const std::pair<QComboBox *, Selector> optionSelectors[] = {
        {m_optionForm->cbbAudioBitrate(), Selector::AudioBitrate},
        {m_optionForm->cbbAudioSample(), Selector::AudioSample},
        {m_optionForm->cbbAudioVolumeGain(), Selector::VolumeGain},
        {m_optionForm->cbbAudioChannels(), Selector::AudioChannels},
    };
    for (const auto &[combo, selector] : optionSelectors)
        new SelectorComboBinder(combo, &m_options, selector);
    bindEnabledState(m_mainForm->cbbProfile(), &m_options, SelectorControl::ProfileSelector);
    bindEnabledState(m_mainForm->btnOptions(), &m_options, SelectorControl::OptionsButton);
}

void AppWindows::start()
{
    QString error;
    const QImage picture = LoadSplashImage(m_programFolder, screenPixelRatio(), &error);
    if (picture.isNull()) {
        // Without the splash picture the product library is unusable: nothing else can start.
        ShowPromptBox(m_desktop.boxes, error, PromptKind::Ok);
        Q_EMIT ended(1);
        return;
    }
    // A start-up that fails is shown, and the program ends when the splash has gone.
    m_flashForm = new TFrmFlashForm(picture, [this] {
        if (!DeliverReportingFailures([this] { runStartup(); return true; }, m_desktop.boxes))
            m_startup.quitRequested = true;
    });
    connect(m_flashForm, &TFrmFlashForm::finished, this, &AppWindows::splashFinished);
    m_flashForm->show();
}

void AppWindows::runStartup()
{
    m_services = std::make_unique<AppServices>(m_locations, m_desktop.clock, m_desktop.boxes, m_options, m_sources);
    logFileLocations();
    restoreSourceList();
    m_startup = RunStartup(m_programFolder, m_exePath, m_desktop.boxes);
    m_services->customProc.selectorHooks().loadUserSettings = [this] { loadUserSettings(); };
    applyProductInfo();
    wireCommands();
    wirePreview();
    wireSources();
    wireConversion();
}

// Where the settings and the log went is worth a line when it is not the program folder. A log
// that cannot be written is reported by the first step that needs it.
void AppWindows::logFileLocations()
{
    if (m_locations.portable)
        return;
    try {
        m_services->common.WriteLog(FileLocationsLogLine(m_locations));
    } catch (const LogWriteError &) {
    }
}

QString AppWindows::sourceListPath() const
{
    return ConfigFolder(m_locations.configBase) + QStringLiteral("SourceList.json");
}

// The list saved last time comes back before the window shows; from here on every change is
// saved, and can be undone.
void AppWindows::restoreSourceList()
{
    if (!m_startupNote.isEmpty())
        logQuietly(m_startupNote);
    if (m_keepsSourceList) {
        m_listStore = std::make_unique<SourceListStore>(sourceListPath(), m_sources,
                                                        [this](const QString &line) { logQuietly(line); });
        m_listStore->restore();
    } else {
        logQuietly(QStringLiteral("Another window keeps the source list; the list of this one is not kept."));
    }
    m_history = std::make_unique<SourceListHistory>(m_sources);
    m_heldButtons = std::make_unique<HeldButtons>(*m_history);
}

// A log line that may not be written: the step that needs the log reports it.
void AppWindows::logQuietly(const QString &line) const
{
    try {
        m_services->common.WriteLog(line);
    } catch (const LogWriteError &) {
    }
}

void AppWindows::applyProductInfo()
{
    m_mainForm->setWindowTitle(m_startup.title);
    m_mainForm->lblTitle()->setText(m_mainForm->windowTitle());
    m_mainForm->setHomePage(m_startup.info.HomePage);
    m_mainForm->setSupportEmail(m_startup.info.SupportEmail);
}

void AppWindows::wireCommands()
{
    TFrmMainForm *form = m_mainForm.get();
    connect(form, &TFrmMainForm::optionsRequested, this, &AppWindows::showOptions);
    // The Options dialog's "Keep the original sound" is stored as soon as OK changes it.
    connect(&m_options, &OptionSelectionModel::keepOriginalChanged, this, [this](bool keep) {
        if (!m_services->userSettings.SaveKeepOriginal(keep))
            ShowMessageBox(m_desktop.boxes, QStringLiteral("Your settings could not be saved."), MessageKind::Warning);
    });
    // So is "Files converted at once".
    connect(&m_options, &OptionSelectionModel::filesAtOnceChanged, this, [this](int count) {
        if (!m_services->userSettings.SaveFilesAtOnce(count))
            ShowMessageBox(m_desktop.boxes, QStringLiteral("Your settings could not be saved."), MessageKind::Warning);
    });
    // The Options dialog's handlers; a failure in one is shown like any other that escapes a handler.
    new OptionFormController(*m_optionForm, m_services->customProc.customProfiles(), m_options,
                             ReportingFailuresIn(m_desktop.boxes));
    // The loudness choice is kept in the user settings and applies to every item built after it.
    m_loudness = std::make_unique<TLoudnessSelection>(m_services->userSettings, [this](LoudnessTarget target) {
        m_services->customProc.setLoudnessTarget(target);
        refreshSettingsKey();
    });
    m_loudness->load();
    new LoudnessComboBinder(*m_optionForm, *m_loudness, ReportingFailuresIn(m_desktop.boxes));
    connect(form, &TFrmMainForm::selectOutputFolderRequested, this, &AppWindows::chooseOutputFolder);
    connect(form, &TFrmMainForm::aboutRequested, this,
            [this] { ShowAbout(m_programFolder, m_startup.info, m_mainForm.get()); });
    connect(form, &TFrmMainForm::closing, this, &AppWindows::FormClose);
    connect(form->edtOutputFolder(), &QLineEdit::textChanged, this,
            [this](const QString &text) { m_services->customProc.setOutputFolderText(text); });
    m_services->customProc.setOutputFolderText(form->edtOutputFolder()->text());
    // Whatever changes what a conversion would write changes which rows show as converted.
    connect(form->edtOutputFolder(), &QLineEdit::textChanged, this, &AppWindows::refreshSettingsKey);
    connect(&m_options, &OptionSelectionModel::selectionChanged, this, &AppWindows::refreshSettingsKey);
    connect(&m_options, &OptionSelectionModel::keepOriginalChanged, this, &AppWindows::refreshSettingsKey);
}

void AppWindows::refreshSettingsKey()
{
    if (m_services)
        m_sources.setSettingsKey(m_services->customProc.conversionSettingsKey());
}

// The source list answers the file buttons (and their shortcuts) and files dropped on the window;
// the open dialog starts in the InitDir setting and stores it after files were picked.
void AppWindows::wireSources()
{
    TFrmMainForm *form = m_mainForm.get();
    auto *sources = new SourceListController(form->dxTreeSourceFileInfo(), m_sources, m_desktop.boxes,
                                             *m_codecErrors, form);
    m_sourceList = sources;
    // A shortcut pressed in the grid runs its command and leaves the markers alone.
    sources->view().setCommandKeys(
        [](int key, Qt::KeyboardModifiers modifiers) { return commandForKey(key, modifiers) != MainCommand::None; });
    const TUserSettings &settings = m_services->userSettings;
    sources->setInitDirAccess([&settings] { return settings.LoadInitialFolder(); },
                              [&settings](const QString &folder) { settings.SaveInitialFolder(folder); });
    sources->busyWindow().setBackground(SkinPictures::load(QStringLiteral("busy_background"), screenPixelRatio()));
    connect(form, &TFrmMainForm::openFilesRequested, sources, &SourceListController::btnOpenFileClick);
    connect(form, &TFrmMainForm::removeFilesRequested, sources, &SourceListController::btnRemoveFileClick);
    connect(form, &TFrmMainForm::clearFilesRequested, sources, &SourceListController::btnClearFileClick);
    connect(form, &TFrmMainForm::filesDropped, sources, &SourceListController::FilesDropped);
    sources->setHistory(m_history.get());
    connect(form, &TFrmMainForm::undoRequested, sources, &SourceListController::undo);
    connect(form, &TFrmMainForm::redoRequested, sources, &SourceListController::redo);
    connect(form, &TFrmMainForm::stopAddingRequested, sources, &SourceListController::cancelAdding);
    connect(sources, &SourceListController::statusMessage, form->lblStatusLine(), &QLabel::setText);
    // A loaded preview of an item whose audio track the user changes switches to it at once.
    PreviewPlayer *preview = m_preview.get();
    connect(sources, &SourceListController::audioTracksChosen, preview,
            [this, preview, guard = ReportingFailuresIn(m_desktop.boxes)](const QList<SourceItemId> &ids) {
                guard([&] {
                    for (SourceItemId id : ids) {
                        if (const std::optional<int> row = m_sources.rowOf(id))
                            preview->ChangeAudioTrack(m_sources.item(*row));
                    }
                });
            });
    wireTimeline(*sources);
}

void AppWindows::wireTimeline(SourceListController &sources)
{
    m_segments = new SegmentController(*m_mainForm->Panel1(), sources, m_desktop.boxes, m_timelineState, *m_preview,
                                       m_mainForm.get());
    // The preview's keys and the playhead: on the video window and the timeline.
    m_previewKeys = std::make_unique<PreviewKeys>(*m_preview, m_segments->selection());
    // A failure under a key reaches the error display instead of the event loop.
    const PreviewKeyHandler keys = [this, guard = ReportingFailuresIn(m_desktop.boxes)](int key,
                                                                                      Qt::KeyboardModifiers modifiers) {
        bool taken = false;
        guard([&] { taken = m_previewKeys->keyPressed(key, modifiers); });
        return taken;
    };
    BindPreviewKeys(m_mainForm->Panel1(), keys);
    BindPreviewKeys(m_mainForm->DSVideoWindowEx1(), keys);
    connect(m_preview.get(), &PreviewPlayer::playheadMoved, m_mainForm->Panel1(), &TimelinePanel::setPlayhead);
}

void AppWindows::wirePreview()
{
    TFrmMainForm *form = m_mainForm.get();
    const auto log = [this](const QString &line) { m_services->common.WriteLog(line); };
    m_filterGraph = std::make_unique<FilterGraph>(MpvSettings{}, log);
    m_preview = std::make_unique<PreviewPlayer>(*m_filterGraph, log);
    m_preview->setItemLookup([this](SourceItemId id) -> std::optional<SourceItem> {
        const std::optional<int> row = m_sources.rowOf(id);
        return row ? std::optional<SourceItem>(m_sources.item(*row)) : std::nullopt;
    });
    connect(m_filterGraph.get(), &FilterGraph::frameDrawn, m_preview.get(), &PreviewPlayer::showPausedPosition);
    connect(m_filterGraph.get(), &FilterGraph::positionSettled, m_preview.get(), &PreviewPlayer::showPausedPosition);
    ShowPreview(*m_preview, *m_filterGraph, form->DSVideoWindowEx1(), form->panLogo(), form->pnlCurTime());
    // A player that cannot start, or a log that cannot be written, is shown to the user.
    const HandlerGuard guard = ReportingFailuresIn(m_desktop.boxes);
    PreviewPlayer *preview = m_preview.get();
    connectGuarded(m_filterGraph.get(), &FilterGraph::playbackFailed, preview, guard,
                   [preview] { preview->playbackFailed(); });
    connectGuarded(form, &TFrmMainForm::playRequested, preview, guard, [this, preview, form] {
        preview->btnPlayClick(SelectedSourceItems(*form->dxTreeSourceFileInfo(), m_sources));
    });
    connectGuarded(form, &TFrmMainForm::pauseRequested, preview, guard, [preview] { preview->btnPauseClick(); });
    connectGuarded(form, &TFrmMainForm::stopRequested, preview, guard, [preview] { preview->btnStopClick(); });
}

// Convert (the button, Ctrl+S and Ctrl+N) runs the batch over the checked rows, with the progress
// window over the disabled main window; the two check boxes decide the after-job step.
void AppWindows::wireConversion()
{
    m_conversion = std::make_unique<TConversionController>(m_services->customProc, m_desktop.shell, m_desktop.power,
                                                           m_mainForm.get(), m_progress, *m_convertingForm);
    m_conversion->setAfterJobChoices(m_mainForm->chkShowOutputDirectory(), m_mainForm->chkShutdown());
    // Each run takes the number of files at once in force when it starts.
    m_conversion->setFilesAtOnce([this] { return m_options.filesAtOnce(); });
    m_conversion->setMainWindowLock([form = m_mainForm.get()](bool locked) { form->setRunLocked(locked); });
    connect(m_mainForm.get(), &TFrmMainForm::convertRequested, m_conversion.get(), &TConversionController::start);
    keepConvertedMarks();
    // Powering off ends the program at once: nothing that closing would save is saved.
    connect(m_conversion.get(), &TConversionController::endProgramRequested, this, [this] { Q_EMIT ended(0); });
    connect(m_conversion.get(), &TConversionController::runFinished, this,
            [this] { m_mainForm->lblStatusLine()->setText(m_conversion->batch().summary()); });
    // Closing the main window during a run asks first, as closing the progress window does.
    new CloseGuard(m_mainForm.get(), [this] { return !m_conversion->isRunning() || AskStopProcessing(m_desktop.boxes); });
}

// Convert leaves out rows whose file is gone and asks about rows converted already; each row a
// run converts is marked with its output and the settings it was converted with.
void AppWindows::keepConvertedMarks()
{
    m_conversion->setBeforeRun([this]() -> std::optional<QSet<quint64>> {
        const RunPreparation preparation =
            PrepareRun(m_sources, m_desktop.boxes, [this](const QString &line) { m_services->common.WriteLog(line); });
        if (!preparation.status.isEmpty())
            m_mainForm->lblStatusLine()->setText(preparation.status);
        if (!preparation.go)
            return std::nullopt;
        return preparation.leaveOut;
    });
    TBatchRun &batch = m_conversion->batch();
    connect(&batch, &TBatchRun::itemStarting, this,
            [this](int row) { m_runSettingsKeys.insert(row, m_services->customProc.conversionSettingsKey()); });
    connect(&batch, &TBatchRun::itemConverted, this, [this](int row, const SourceItem &item, const QString &output) {
        m_sources.setConvertedMark(item.id, MarkOf(item, output, m_runSettingsKeys.value(row, m_sources.settingsKey())));
    });
    connect(&batch, &TBatchRun::runFinished, this, [this] { m_runSettingsKeys.clear(); });
}

void AppWindows::takeHandedOverFiles(const QStringList &paths)
{
    if (!m_mainForm->isVisible() || !m_sourceList) {
        m_startupFiles << paths;
        return;
    }
    m_mainForm->setWindowState(m_mainForm->windowState() & ~Qt::WindowMinimized);
    m_mainForm->show();
    m_mainForm->raise();
    m_mainForm->activateWindow();
    if (!paths.isEmpty())
        m_sourceList->FilesDropped(paths);
}

void AppWindows::splashFinished()
{
    if (m_startup.quitRequested) {
        Q_EMIT ended(1);
        return;
    }
    showMainWindow();
}

// The main window's show sequence after the splash: fill the selectors (the user settings load
// last), accept dropped files, apply the quality profile, then show the window.
void AppWindows::showMainWindow()
{
    m_services->customProc.FillAllSelectors();
    m_mainForm->setAcceptDrops(true);
    m_services->customProc.ApplyQualityProfile();
    refreshSettingsKey();
    m_mainForm->centreOnScreen();
    m_mainForm->show();
    m_mainForm->activateWindow();
    addStartupFiles();
    Q_EMIT mainWindowShown();
}

void AppWindows::addStartupFiles()
{
    if (!m_startupFiles.isEmpty())
        m_sourceList->FilesDropped(std::exchange(m_startupFiles, {}));
}

UserSettingsState AppWindows::userSettingsState() const
{
    UserSettingsState state;
    state.showOutputDirectory = m_mainForm->chkShowOutputDirectory()->isChecked();
    state.shutdown = m_mainForm->chkShutdown()->isChecked();
    state.outputFolder = m_mainForm->edtOutputFolder()->text();
    return state;
}

void AppWindows::showUserSettingsState(const UserSettingsState &state)
{
    m_mainForm->chkShowOutputDirectory()->setChecked(state.showOutputDirectory);
    m_mainForm->chkShutdown()->setChecked(state.shutdown);
    m_mainForm->edtOutputFolder()->setText(state.outputFolder);
}

void AppWindows::loadUserSettings()
{
    UserSettingsState state = userSettingsState();
    m_services->userSettings.LoadUserSettings(state);
    showUserSettingsState(state);
    const QSignalBlocker loading(m_options); // what was read needs no saving
    m_options.setKeepOriginal(state.keepOriginal);
    m_options.setFilesAtOnce(m_services->userSettings.LoadFilesAtOnce(QThread::idealThreadCount()));
}

void AppWindows::applyQualityProfile()
{
    if (!m_services)
        return;
    // A custom profile that cannot be read or loaded is reported here, not in the toolkit's code.
    DeliverReportingFailures([this] { m_services->customProc.ApplyQualityProfile(); return true; }, m_desktop.boxes);
}

// The Options dialog is no child of the main window (a disabled parent would disable it too):
// the window manager keeps it above the main window as its transient.
void AppWindows::showOptions()
{
    TConversionController::keepAbove(*m_optionForm, *m_mainForm);
    m_optionForm->showModeless();
}

void AppWindows::chooseOutputFolder()
{
    QLineEdit *field = m_mainForm->edtOutputFolder();
    field->setText(ChooseOutputFolder(field->text(), m_desktop.folders, m_desktop.boxes));
}

// Closing ends the program, also while the Options dialog is open. The preview stops and lets
// go of its player first. Settings that cannot be saved are reported; the program ends all the same.
void AppWindows::FormClose()
{
    if (m_preview)
        m_preview->StopPreview();
    if (m_filterGraph)
        m_filterGraph->Release();
    if (m_listStore)
        m_listStore->saveNow();
    if (const auto failure = m_services->userSettings.SaveUserSettings(userSettingsState()))
        ShowMessageBox(m_desktop.boxes, QStringLiteral("Your settings could not be saved.\n") + *failure, MessageKind::Warning);
    m_optionForm->hide();
    Q_EMIT ended(0);
}
