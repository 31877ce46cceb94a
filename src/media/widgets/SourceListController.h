#pragma once
// The main window's handlers for the source list: open, remove, clear, dropped files, the
// grid's keys and rows dragged out of it.
//
// Wiring in the main window (everything is on the user-interface thread):
//
//   // codecErrorReporter: a CodeErrorWindowReporter(shell, this) living as long as the window
//   auto *sources = new SourceListController(dxTreeSourceFileInfo, sourceModel, messageBoxes,
//                                            codecErrorReporter, this);
//   sources->setInitDirAccess([&] { return settings.LoadInitialFolder(); },
//                             [&](const QString &folder) { settings.SaveInitialFolder(folder); });
//   // the timeline's controller sets the hooks (stop the preview, lay out and reset the markers)
//   sources->busyWindow().setBackground(skinPicture);                         // optional
//   connect(form, &TFrmMainForm::openFilesRequested, sources, &SourceListController::btnOpenFileClick);
//   connect(form, &TFrmMainForm::removeFilesRequested, sources, &SourceListController::btnRemoveFileClick);
//   connect(form, &TFrmMainForm::clearFilesRequested, sources, &SourceListController::btnClearFileClick);
//   connect(form, &TFrmMainForm::filesDropped, sources, &SourceListController::FilesDropped);
//   // the grid's own row drags carry SourceListView::RowDragMimeType and no URLs
//
// The grid, the model, the message boxes and the reporter are not owned and must outlive the
// controller; the controller becomes a child of `mainWindow`. A failure in one of its handlers
// is shown in the message boxes.
#include "media/SourceItem.h"
#include "media/SourceListHooks.h"

#include "support/EscapedFailure.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <functional>

class ICodecErrorReporter;
class IMessageBoxes;
class QMenu;
class QTreeView;
class SourceFileAdder;
class SourceListHistory;
class SourceListModel;
class SourceListView;
class TFrmInitFileForm;

class SourceListController final : public QObject {
    Q_OBJECT
public:
    // Lets the user pick files starting in a folder, then calls `chosen` with the picked paths
    // in the dialog's order (empty when cancelled). The default is the open dialog.
    using FileChooser = std::function<void(const QString &initialFolder, std::function<void(QStringList)> chosen)>;

    SourceListController(QTreeView *dxTreeSourceFileInfo, SourceListModel &model, IMessageBoxes &boxes,
                         ICodecErrorReporter &reporter, QWidget *mainWindow);
    ~SourceListController() override;

    // The InitDir setting: where the open dialog starts, and where the folder of the files
    // picked last is kept. Without them the dialog starts in the home folder.
    void setInitDirAccess(std::function<QString()> read, std::function<void(const QString &)> store);
    void setHooks(SourceListHooks hooks) { m_hooks = std::move(hooks); }
    // Where the list's changes are recorded for undo; without it nothing can be undone. Not
    // owned; it must outlive the controller.
    void setHistory(SourceListHistory *history) { m_history = history; }
    void setFileChooser(FileChooser chooser) { m_chooseFiles = std::move(chooser); }

    SourceListView &view() { return *m_view; }
    SourceFileAdder &adder() { return *m_adder; }
    TFrmInitFileForm &busyWindow() { return *m_busyWindow; }
    // The row menu now open (right click, Menu key, Shift+F10); null when none is.
    QMenu *rowMenu() const;

public Q_SLOTS:
    // Open dialog, then the busy window adds the picked files; InitDir is kept afterwards.
    // Returns at once; `openFinished` tells when the files are in.
    void btnOpenFileClick();
    void btnRemoveFileClick();
    void btnClearFileClick();
    // Local files dropped on the main window are added, without the busy window, leaving
    // InitDir alone.
    void FilesDropped(const QStringList &paths);

    // Undo and redo of the list's last change (Ctrl+Z, Ctrl+Shift+Z, the row menu); the status
    // line says what was undone or redone.
    void undo();
    void redo();
    // Esc: stops adding files; the files added so far stay.
    void cancelAdding();

    void dxTreeSourceFileInfoKeyDown(int key);
    void dxTreeSourceFileInfoKeyUp(int key);
    // Opens the context menu of `row` at `globalPos`; its choice applies to the selected rows
    // when `row` is one of them, else to `row` alone.
    void showRowMenu(int row, QPoint globalPos);

Q_SIGNALS:
    // The files picked in the open dialog have been added and the busy window has closed.
    void openFinished();
    // The user chose the audio track of these items.
    void audioTracksChosen(const QList<SourceItemId> &ids);
    // A line for the status line: adding in progress, what an add came to, what was undone.
    void statusMessage(const QString &text);

private:
    void filesChosen(const QStringList &paths);
    void openDone();
    void afterAdding();
    void removeSelectedRows(const QString &label);
    void rowsDraggedOut();
    void addFiles(const QStringList &paths, std::function<void()> done);
    void addingProgress(int handled, int total);
    void addingFinished();
    void change(const QString &label, const std::function<void()> &action);
    enum class StepDirection { Back, Again };
    void takeStep(StepDirection direction);
    void addHistoryEntries(QMenu &menu);
    void markersToEndsWhenEmpty();
    void chooseAudioTrack(const QList<SourceItemId> &ids, int track);

    QWidget *m_mainWindow;
    SourceListModel &m_model;
    SourceListView *m_view;
    SourceFileAdder *m_adder;
    TFrmInitFileForm *m_busyWindow;
    SourceListHooks m_hooks;
    SourceListHistory *m_history = nullptr;
    FileChooser m_chooseFiles;
    std::function<QString()> m_readInitDir;
    std::function<void(const QString &)> m_storeInitDir;
    HandlerGuard m_guard;
    QStringList m_chosen;
    QPointer<QMenu> m_rowMenu;
};

// Runs the non-native open dialog for source files over `owner`, starting in `initialFolder`:
// several files at once, the source file filters, resizable. Returns at once; `chosen` gets the
// picked paths with repeats removed, or an empty list when the dialog is cancelled.
void PickSourceFiles(QWidget *owner, const QString &initialFolder, std::function<void(QStringList)> chosen);
