#include "media/widgets/SourceListController.h"

#include "media/SourceFileAdder.h"
#include "media/SourceFileTypes.h"
#include "media/SourceListEditing.h"
#include "media/SourceListHistory.h"
#include "media/SourceListModel.h"
#include "skin/widgets/SkinStyle.h"
#include "media/widgets/InitFileForm.h"
#include "media/widgets/SourceFileDialog.h"
#include "media/widgets/SourceListView.h"
#include "media/widgets/SourceRowMenu.h"
#include "support/FileFunc.h"
#include "support/Platform.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QKeySequence>
#include <QMenu>
#include <QSet>
#include <QTreeView>

void PickSourceFiles(QWidget *owner, const QString &initialFolder, std::function<void(QStringList)> chosen)
{
    auto *dialog = new SourceFileDialog(owner, initialFolder);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog, chosen = std::move(chosen)](int result) {
        chosen(result == QDialog::Accepted ? DistinctPaths(dialog->pickedFiles()) : QStringList());
    });
    dialog->open();
}

SourceListController::SourceListController(QTreeView *dxTreeSourceFileInfo, SourceListModel &model,
                                           IMessageBoxes &boxes, ICodecErrorReporter &reporter, QWidget *mainWindow)
    : QObject(mainWindow), m_mainWindow(mainWindow), m_model(model),
      m_view(new SourceListView(dxTreeSourceFileInfo, model, this)),
      m_adder(new SourceFileAdder(model, reporter, boxes, this)), m_busyWindow(new TFrmInitFileForm(mainWindow)),
      m_guard(ReportingFailuresIn(boxes))
{
    m_chooseFiles = [this](const QString &folder, std::function<void(QStringList)> chosen) {
        PickSourceFiles(m_mainWindow, folder, std::move(chosen));
    };
    m_busyWindow->setAddOperation([this](const QStringList &paths, std::function<void()> done) {
        addFiles(paths, std::move(done));
    });
    m_busyWindow->setHandlerGuard(m_guard);
    connect(m_busyWindow, &TFrmInitFileForm::finished, this, &SourceListController::openDone);
    connect(m_adder, &SourceFileAdder::finished, this, &SourceListController::afterAdding);
    connect(m_adder, &SourceFileAdder::finished, this, &SourceListController::addingFinished);
    connect(m_adder, &SourceFileAdder::progress, this, &SourceListController::addingProgress);
    connect(m_view, &SourceListView::keyPressed, this, &SourceListController::dxTreeSourceFileInfoKeyDown);
    connect(m_view, &SourceListView::keyReleased, this, &SourceListController::dxTreeSourceFileInfoKeyUp);
    connect(m_view, &SourceListView::rowsDraggedOut, this, &SourceListController::rowsDraggedOut);
    connect(m_view, &SourceListView::rowMenuRequested, this, &SourceListController::showRowMenu);
}

SourceListController::~SourceListController()
{
    if (!m_mainWindow)
        delete m_busyWindow; // a window without a parent is nobody else's to delete
}

void SourceListController::setInitDirAccess(std::function<QString()> read, std::function<void(const QString &)> store)
{
    m_readInitDir = std::move(read);
    m_storeInitDir = std::move(store);
}

void SourceListController::btnOpenFileClick()
{
    if (m_busyWindow->isVisible())
        return;
    const QString folder = m_readInitDir ? m_readInitDir() : Platform::withTrailingSeparator(QDir::homePath());
    m_chooseFiles(folder, [this](const QStringList &paths) { filesChosen(paths); });
}

void SourceListController::filesChosen(const QStringList &paths)
{
    m_chosen = paths;
    m_busyWindow->SetPendingFiles(paths);
    m_busyWindow->show();
}

// The folder of the first picked file is where the dialog starts next time.
void SourceListController::openDone()
{
    const QString folder = m_chosen.isEmpty() ? QString() : TFileFunc::FileFolder(m_chosen.first());
    if (!folder.isEmpty() && m_storeInitDir)
        m_storeInitDir(folder);
    Q_EMIT openFinished();
}

void SourceListController::FilesDropped(const QStringList &paths)
{
    m_guard([this, &paths] { addFiles(paths, {}); });
}

// One add is one step of the history, however long it takes.
void SourceListController::addFiles(const QStringList &paths, std::function<void()> done)
{
    if (m_history)
        m_history->beginStep(QStringLiteral("Add"));
    m_adder->AddSourceFiles(paths, [this, history = QPointer<SourceListHistory>(m_history), done = std::move(done)] {
        if (history)
            history->endStep();
        if (done)
            done();
    });
}

void SourceListController::cancelAdding() { m_adder->cancel(); }

void SourceListController::addingProgress(int handled, int total)
{
    if (total > 1)
        Q_EMIT statusMessage(QStringLiteral("Adding files: %1 of %2 (Esc stops)").arg(handled).arg(total));
}

// What the add came to, when there is something to say: it was stopped, a folder held no video
// or could not be read, or many files came in.
void SourceListController::addingFinished()
{
    const SourceFileAdder::Outcome &outcome = m_adder->lastOutcome();
    QStringList parts;
    if (outcome.cancelled)
        parts << QStringLiteral("Adding stopped: %1 of %2 files added.").arg(outcome.added).arg(outcome.listed);
    else if (outcome.listed > 1)
        parts << QStringLiteral("%1 of %2 files added.").arg(outcome.added).arg(outcome.listed);
    if (outcome.foldersWithoutVideo.size() == 1)
        parts << QStringLiteral("No video in %1").arg(outcome.foldersWithoutVideo.first());
    else if (!outcome.foldersWithoutVideo.isEmpty())
        parts << QStringLiteral("No video in %1 folders: %2").arg(outcome.foldersWithoutVideo.size())
                     .arg(outcome.foldersWithoutVideo.join(QStringLiteral(", ")));
    if (!outcome.unreadableFolders.isEmpty())
        parts << QStringLiteral("Not readable: %1").arg(outcome.unreadableFolders.join(QStringLiteral(", ")));
    if (!parts.isEmpty())
        Q_EMIT statusMessage(parts.join(u' '));
}

void SourceListController::change(const QString &label, const std::function<void()> &action)
{
    if (m_history)
        m_history->record(label, action);
    else
        action();
}

void SourceListController::undo() { takeStep(StepDirection::Back); }
void SourceListController::redo() { takeStep(StepDirection::Again); }

// Undoes or redoes a step. The rows it brings back are selected (else the rows selected before,
// where the list still holds them), the preview stops as after any removal, the markers
// follow, and the status line says what was undone or redone.
void SourceListController::takeStep(StepDirection direction)
{
    m_guard([this, direction] {
        const bool back = direction == StepDirection::Back;
        QList<SourceItemId> selected;
        for (int row : m_view->selectedRows())
            selected << m_model.item(row).id;
        QSet<quint64> held;
        for (const SourceItem &item : m_model.items())
            held.insert(item.id.value);
        const QString label = !m_history ? QString() : back ? m_history->undo() : m_history->redo();
        if (label.isEmpty()) {
            Q_EMIT statusMessage(back ? QStringLiteral("Nothing to undo.") : QStringLiteral("Nothing to redo."));
            return;
        }
        QList<int> returned;
        for (int row = 0; row < m_model.rowCount(); ++row) {
            if (!held.contains(m_model.item(row).id.value))
                returned << row;
        }
        QList<int> rows = returned;
        for (SourceItemId id : std::as_const(selected)) {
            if (const std::optional<int> row = m_model.rowOf(id); row && returned.isEmpty())
                rows << *row;
        }
        m_view->selectRows(rows);
        m_hooks.StopPreview();
        markersToEndsWhenEmpty();
        m_hooks.LayoutSegmentMarkers();
        Q_EMIT statusMessage((back ? QStringLiteral("Undone: ") : QStringLiteral("Redone: ")) + label);
    });
}

void SourceListController::afterAdding()
{
    if (m_model.rowCount() == 0)
        return;
    m_view->selectFirstRow();
    m_hooks.LayoutSegmentMarkers();
}

void SourceListController::removeSelectedRows(const QString &label)
{
    const QList<int> selected = m_view->selectedRows();
    if (selected.isEmpty())
        return;
    change(label, [&] { m_view->focusAndSelect(RemoveSelectedRows(m_model, selected, m_view->focusedRow())); });
}

void SourceListController::rowsDraggedOut()
{
    removeSelectedRows(QStringLiteral("Drag out"));
    markersToEndsWhenEmpty();
    m_hooks.StopPreview();
    m_hooks.LayoutSegmentMarkers();
}

void SourceListController::markersToEndsWhenEmpty()
{
    if (m_model.rowCount() == 0)
        m_hooks.SetFillerWidths(2);
}

void SourceListController::btnRemoveFileClick()
{
    removeSelectedRows(QStringLiteral("Remove"));
    markersToEndsWhenEmpty();
    m_hooks.StopPreview();
    m_hooks.LayoutSegmentMarkers();
}

void SourceListController::btnClearFileClick()
{
    change(QStringLiteral("Clear List"), [this] { ClearSourceList(m_model); });
    m_hooks.StopPreview();
    m_hooks.SetFillerWidths(2);
}

// Every key first lets the markers follow the selection; Delete then removes the selected rows.
void SourceListController::dxTreeSourceFileInfoKeyDown(int key)
{
    m_hooks.LayoutSegmentMarkers();
    if (key != Qt::Key_Delete)
        return;
    removeSelectedRows(QStringLiteral("Remove"));
    m_hooks.StopPreview();
    markersToEndsWhenEmpty();
}

void SourceListController::dxTreeSourceFileInfoKeyUp(int) { m_hooks.LayoutSegmentMarkers(); }

QMenu *SourceListController::rowMenu() const { return m_rowMenu; }

void SourceListController::showRowMenu(int row, QPoint globalPos)
{
    if (row < 0 || row >= m_model.rowCount() || (m_rowMenu && m_rowMenu->isVisible()))
        return;
    const QList<int> selected = m_view->selectedRows();
    QList<SourceItemId> ids; // the menu stays open while the list may change: items, not rows
    for (int each : selected.contains(row) ? selected : QList<int>{row})
        ids << m_model.item(each).id;
    QMenu *menu = MakeSourceRowMenu(m_model.item(row), m_view->grid(),
                                    [this, ids](int track) { chooseAudioTrack(ids, track); });
    addHistoryEntries(*menu);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    m_rowMenu = menu;
    menu->popup(globalPos);
}

// "Undo Remove" and "Redo Cut", each disabled when there is nothing to take back or do again.
void SourceListController::addHistoryEntries(QMenu &menu)
{
    menu.addSeparator();
    const QString undoLabel = m_history ? m_history->undoLabel() : QString();
    const QString redoLabel = m_history ? m_history->redoLabel() : QString();
    QAction *undoEntry = menu.addAction(undoLabel.isEmpty() ? QStringLiteral("Undo") : QStringLiteral("Undo ") + undoLabel);
    undoEntry->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    undoEntry->setEnabled(!undoLabel.isEmpty());
    connect(undoEntry, &QAction::triggered, this, &SourceListController::undo);
    QAction *redoEntry = menu.addAction(redoLabel.isEmpty() ? QStringLiteral("Redo") : QStringLiteral("Redo ") + redoLabel);
    redoEntry->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    redoEntry->setEnabled(!redoLabel.isEmpty());
    connect(redoEntry, &QAction::triggered, this, &SourceListController::redo);
}

void SourceListController::chooseAudioTrack(const QList<SourceItemId> &ids, int track)
{
    m_guard([&] {
        QList<SourceItemId> chosen;
        change(QStringLiteral("Audio track"), [&] { chosen = ChooseAudioTrackForItems(m_model, ids, track); });
        if (!chosen.isEmpty())
            Q_EMIT audioTracksChosen(chosen);
    });
}
