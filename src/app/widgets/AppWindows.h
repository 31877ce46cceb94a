#pragma once
// The program's composition root: creates the windows hidden, runs the start-up behind the
// splash, binds the option model and the user settings to the windows, and ends the program
// when the main window closes.
#include "app/ProductInfo.h"
#include "app/Startup.h"
#include "app/widgets/DesktopServices.h"
#include "app/widgets/FlashForm.h"
#include "engine/ProgressRefresh.h"
#include "media/FilterGraph.h"
#include "media/PreviewKeys.h"
#include "media/PreviewPlayer.h"
#include "media/PreviewPort.h"
#include "media/SourceListModel.h"
#include "media/widgets/CodeErrorForm.h"
#include "settings/OptionSelectionModel.h"
#include "support/FileLocations.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <memory>

class SegmentController;
class SourceListHistory;
class SourceListStore;
class SourceListController;
class TFrmMainForm;
class TfrmConverting;
class TConversionController;
class TfrmOption;
class TLoudnessSelection;
class SourceListController;

class AppWindows final : public QObject {
    Q_OBJECT
public:
    // `programFolder` ends with the separator; `exePath` is the file the version is read from.
    // The settings, the log and the script are kept in the program folder.
    AppWindows(QString programFolder, QString exePath, DesktopServices desktop, QObject *parent = nullptr);
    // The same with the settings, the log and the script where `locations` says.
    AppWindows(FileLocations locations, QString exePath, DesktopServices desktop, QObject *parent = nullptr);
    ~AppWindows() override;

    // Shows the splash, which runs the start-up; the main window follows when it has closed.
    // When the splash picture cannot be loaded the user is told and the program ends.
    void start();

    // Files named on the command line: added to the list once the main window is up, as if
    // they had been dropped on it.
    void setStartupFiles(const QStringList &paths) { m_startupFiles = paths; }
    // Whether this window restores the source list saved last time and keeps it (true unless
    // another window keeps it).
    void setKeepsSourceList(bool keeps) { m_keepsSourceList = keeps; }
    // A line for the log once the start-up has run.
    void setStartupNote(const QString &line) { m_startupNote = line; }
    // Files handed over by a later start: added (once the main window is up), and the window
    // comes to the front.
    void takeHandedOverFiles(const QStringList &paths);
    // Where the source list is kept between runs.
    QString sourceListPath() const;

    TFrmMainForm &mainForm() const { return *m_mainForm; }
    TfrmConverting &convertingForm() const { return *m_convertingForm; }
    TfrmOption &optionForm() const { return *m_optionForm; }
    // The splash while it is up, else nullptr.
    TFrmFlashForm *flashForm() const { return m_flashForm; }
    // Null until the start-up has run.
    AppServices *services() const { return m_services.get(); }
    TConversionController *conversion() const { return m_conversion.get(); }
    // Null until the start-up has run.
    TLoudnessSelection *loudness() const { return m_loudness.get(); }
    const RecSoftInfo &productInfo() const { return m_startup.info; }
    OptionSelectionModel &options() { return m_options; }
    SourceListModel &sources() { return m_sources; }
    // Null until the start-up has run.
    SourceListHistory *history() const { return m_history.get(); }
    SourceListStore *sourceListStore() const { return m_listStore.get(); }
    PreviewTimelineState &timelineState() { return m_timelineState; }
    // Null until the start-up has run.
    SegmentController *segments() const { return m_segments; }
    PreviewPlayer *preview() const { return m_preview.get(); }
    FilterGraph *previewGraph() const { return m_filterGraph.get(); }

    // The remembered controls of the main window as plain values, and back.
    UserSettingsState userSettingsState() const;
    void showUserSettingsState(const UserSettingsState &state);

Q_SIGNALS:
    // The main window is up and the program idle.
    void mainWindowShown();
    // The program is to end with this exit code.
    void ended(int exitCode);

private:
    void createWindows();
    void bindSelectors();
    void runStartup();
    void logFileLocations();
    void applyProductInfo();
    void wireCommands();
    // The preview: the video window, logo and position display, Play, Pause and Stop.
    void wirePreview();
    // The source list: open, remove and clear, dropped files, the grid. Connected by the source
    // list's controller.
    void wireSources();
    // The timeline's markers and the typed times, on the source list and the preview.
    void wireTimeline(SourceListController &sources);
    // The batch run: Convert (button, Ctrl+S, Ctrl+N) and the progress window. Connected by the
    // conversion's controller.
    void wireConversion();
    void splashFinished();
    void showMainWindow();
    void addStartupFiles();
    void restoreSourceList();
    void keepConvertedMarks();
    void refreshSettingsKey();
    void logQuietly(const QString &line) const;
    void loadUserSettings();
    void chooseOutputFolder();
    void showOptions();
    void FormClose();
    void applyQualityProfile();

    FileLocations m_locations;
    QString m_programFolder;
    QString m_exePath;
    DesktopServices m_desktop;
    OptionSelectionModel m_options;
    SourceListModel m_sources;
    PreviewTimelineState m_timelineState;
    TProgressRefresh m_progress;
    std::unique_ptr<FilterGraph> m_filterGraph; // outlives the player, which holds it
    std::unique_ptr<PreviewPlayer> m_preview;
    std::unique_ptr<PreviewKeys> m_previewKeys; // on the player and the timeline's selection
    std::unique_ptr<TLoudnessSelection> m_loudness; // outlives the Options dialog that shows it
    std::unique_ptr<TFrmMainForm> m_mainForm;
    std::unique_ptr<TfrmConverting> m_convertingForm; // a window of its own: it stays usable while the main window is disabled
    // A window of its own, kept above the main window: it stays usable while the main window
    // is disabled during a conversion.
    std::unique_ptr<TfrmOption> m_optionForm;
    std::unique_ptr<CodeErrorWindowReporter> m_codecErrors;
    QPointer<TFrmFlashForm> m_flashForm;
    std::unique_ptr<AppServices> m_services;
    std::unique_ptr<TConversionController> m_conversion;
    SegmentController *m_segments = nullptr; // owned by the main window
    StartupResult m_startup;
    QStringList m_startupFiles;
    bool m_keepsSourceList = true;
    QString m_startupNote;
    std::unique_ptr<SourceListStore> m_listStore;
    std::unique_ptr<SourceListHistory> m_history;
    std::unique_ptr<QObject> m_heldButtons; // mouse gestures make one step of the history
    QHash<int, QString> m_runSettingsKeys;  // of the run's rows, as each started
    SourceListController *m_sourceList = nullptr; // owned by the main window
};
