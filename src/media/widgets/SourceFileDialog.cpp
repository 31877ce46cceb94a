#include "media/widgets/SourceFileDialog.h"

#include "skin/widgets/MessageIconPicture.h"
#include "skin/widgets/SkinStyle.h"
#include "media/SourceFileTypes.h"

#include <QChildEvent>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>

namespace {

const char *const SkinnedProperty = "kelvaneSkinned";

// What the dialog writes into its name field for a selection: one name as it is, several as
// quoted names separated by blanks.
QString nameFieldTextFor(const QStringList &names)
{
    if (names.size() == 1)
        return names.first();
    QStringList quoted;
    for (const QString &name : names)
        quoted << QLatin1Char('"') + name + QLatin1Char('"');
    return quoted.join(QLatin1Char(' '));
}

} // namespace

SourceFileDialog::SourceFileDialog(QWidget *owner, const QString &initialFolder)
    : QFileDialog(owner, QString(), initialFolder)
{
    setObjectName(QStringLiteral("dlgOpenSourceFile"));
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::HideNameFilterDetails);
    setFileMode(QFileDialog::ExistingFiles);
    setAcceptMode(QFileDialog::AcceptOpen);
    setNameFilters(SourceFileDialogFilters());
    setSizeGripEnabled(true);
    SkinStyle::applyToCompleters(this);
    SkinStyle::dropButtonPictures(this);
}

QStringList SourceFileDialog::pickedFiles() const
{
    return m_picked.isEmpty() ? selectedFiles() : m_picked;
}

void SourceFileDialog::accept()
{
    m_picked = selectionShownInNameField();
    if (m_picked.isEmpty())
        QFileDialog::accept(); // typed names: the dialog checks them and may say one is not found
    else
        QDialog::accept();
}

QStringList SourceFileDialog::selectionShownInNameField() const
{
    const auto *list = findChild<QListView *>(QStringLiteral("listView"));
    const auto *nameField = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    const auto *files = list ? qobject_cast<const QFileSystemModel *>(list->model()) : nullptr;
    if (!files || !nameField || !list->selectionModel())
        return {};
    // In the order of the selection, as the dialog writes the names into the field.
    const QModelIndexList rows = list->selectionModel()->selectedRows();
    QStringList names;
    QStringList paths;
    for (const QModelIndex &row : rows) {
        if (files->isDir(row))
            continue;
        names << files->fileName(row);
        paths << files->filePath(row);
    }
    if (paths.isEmpty() || nameField->text() != nameFieldTextFor(names))
        return {};
    return paths;
}

// The dialog's own message boxes are its children: they get the skin as they come up.
void SourceFileDialog::childEvent(QChildEvent *event)
{
    QFileDialog::childEvent(event);
    auto *box = event->polished() ? qobject_cast<QMessageBox *>(event->child()) : nullptr;
    if (!box || box->property(SkinnedProperty).toBool())
        return;
    box->setProperty(SkinnedProperty, true);
    const QMessageBox::Icon icon = box->icon();
    SkinStyle::applyTo(box);
    if (icon == QMessageBox::Warning || icon == QMessageBox::Critical || icon == QMessageBox::Question)
        box->setIconPixmap(MessageIconPicture(icon == QMessageBox::Warning    ? MessageIcon::Warning
                                              : icon == QMessageBox::Critical ? MessageIcon::Error
                                                                              : MessageIcon::Question,
                                              box->devicePixelRatioF()));
    SkinStyle::dropButtonPictures(box);
}
