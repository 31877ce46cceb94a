#include "media/widgets/SourceListController.h"

#include "media/SourceFileAdder.h"
#include "media/SourceFileTypes.h"
#include "media/SourceListEditing.h"
#include "media/SourceListModel.h"
#include "skin/widgets/SkinStyle.h"
#include "media/widgets/InitFileForm.h"
#include "media/widgets/SourceFileDialog.h"
#include "media/widgets/SourceListView.h"
#include "media/widgets/SourceRowMenu.h"
#include "support/FileFunc.h"
#include "support/Platform.h"

#include <QDir>
#include <QFileDialog>
#include <QMenu>
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
        m_adder->AddSourceFiles(paths, std::move(done));
    });
    m_busyWindow->setHandlerGuard(m_guard);
    connect(m_busyWindow, &TFrmInitFileForm::finished, this, &SourceListController::openDone);
    connect(m_adder, &SourceFileAdder::finished, this, &SourceListController::afterAdding);
    connect(m_view, &SourceListView::keyPressed, this, &SourceListController::dxTreeSourceFileInfoKeyDown);
    connect(m_view, &SourceListView::keyReleased, this, &SourceListController::dxTreeSourceFileInfoKeyUp);
    connect(m_view, &SourceListView::rowsDraggedOut, this, &SourceListController::btnRemoveFileClick);
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
    m_guard([this, &paths] { m_adder->AddSourceFiles(paths); });
}

void SourceListController::afterAdding()
{
    if (m_model.rowCount() == 0)
        return;
    m_view->selectFirstRow();
    m_hooks.LayoutSegmentMarkers();
}

void SourceListController::removeSelectedRows()
{
    const QList<int> selected = m_view->selectedRows();
    if (selected.isEmpty())
        return;
    m_view->focusAndSelect(RemoveSelectedRows(m_model, selected, m_view->focusedRow()));
}

void SourceListController::markersToEndsWhenEmpty()
{
    if (m_model.rowCount() == 0)
        m_hooks.SetFillerWidths(2);
}

void SourceListController::btnRemoveFileClick()
{
    removeSelectedRows();
    markersToEndsWhenEmpty();
    m_hooks.StopPreview();
    m_hooks.LayoutSegmentMarkers();
}

void SourceListController::btnClearFileClick()
{
    ClearSourceList(m_model);
    m_hooks.StopPreview();
    m_hooks.SetFillerWidths(2);
}

// Every key first lets the markers follow the selection; Delete then removes the selected rows.
void SourceListController::dxTreeSourceFileInfoKeyDown(int key)
{
    m_hooks.LayoutSegmentMarkers();
    if (key != Qt::Key_Delete)
        return;
    removeSelectedRows();
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
    menu->setAttribute(Qt::WA_DeleteOnClose);
    m_rowMenu = menu;
    menu->popup(globalPos);
}

void SourceListController::chooseAudioTrack(const QList<SourceItemId> &ids, int track)
{
    m_guard([&] {
        const QList<SourceItemId> chosen = ChooseAudioTrackForItems(m_model, ids, track);
        if (!chosen.isEmpty())
            Q_EMIT audioTracksChosen(chosen);
    });
}
