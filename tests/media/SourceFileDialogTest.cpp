// The open dialog for source files, driven as a user drives it: files picked in its list open
// whatever their names hold; its own "not found" message wears the skin.
#include "skin/widgets/SkinPalette.h"
#include "skin/widgets/SkinStyle.h"
#include "media/widgets/SourceFileDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QAbstractItemView>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class SourceFileDialogTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    std::unique_ptr<SourceFileDialog> dialog;
    QAbstractItemView *list = nullptr;   // the list or the detail view, whichever shows
    QLineEdit *nameField = nullptr;

    QString makeFile(const QString &name)
    {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return file.fileName();
    }
    // Opens the dialog in the folder and waits until its list holds the folder's files.
    void openDialog()
    {
        dialog = std::make_unique<SourceFileDialog>(nullptr, folder.path());
        auto *files = dialog->findChild<QFileSystemModel *>();
        ASSERT_NE(files, nullptr);
        QSignalSpy loaded(files, &QFileSystemModel::directoryLoaded);
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        ASSERT_TRUE(loaded.count() > 0 || loaded.wait(10000));
        for (const char *name : {"listView", "treeView"}) {
            auto *view = dialog->findChild<QAbstractItemView *>(QLatin1String(name));
            if (view && view->isVisible())
                list = view;
        }
        nameField = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(list, nullptr);
        ASSERT_NE(nameField, nullptr);
        list->doItemsLayout();
    }
    QPoint itemCentre(const QString &path) const
    {
        const auto *files = static_cast<const QFileSystemModel *>(list->model());
        return list->visualRect(files->index(path)).center();
    }
    // Types into the name field as the user does (it has the keyboard, the list follows it).
    void typeName(const QString &name)
    {
        nameField->setFocus();
        nameField->selectAll();
        QTest::keyClicks(nameField, name);
    }
    QPushButton *openButton() const
    {
        return dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Open);
    }
};

} // namespace

// The way to a file by keyboard: its folder typed into the name field (that folder's row stays
// selected in the folder above), the list takes the keyboard, Space selects (Ctrl+Space adds),
// then Open or Return (as a double-click). Qt's own dialog then went into the folder again and cleared the name
// field; with a double quote in the name field it reads a list of quoted names.
TEST_F(SourceFileDialogTest, FilesSelectedInTheListOpenWhateverTheirNamesHold)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("sub")));
    const QString quoted = makeFile(QStringLiteral("sub/My \"best\" (clip).rm"));
    const QString plain = makeFile(QStringLiteral("sub/zoo $HOME `id`.avi"));
    struct Case {
        const char *how;
        bool both;          // Ctrl+Space adds the second file
        bool byReturn;      // Return in the list instead of Open
        QString field;
        QStringList picked;
    };
    const Case cases[] = {
        {"one, Open", false, false, QStringLiteral("My \"best\" (clip).rm"), {quoted}},
        {"one, Return", false, true, QStringLiteral("My \"best\" (clip).rm"), {quoted}},
        {"two, Open", true, false, QStringLiteral("\"My \"best\" (clip).rm\" \"zoo $HOME `id`.avi\""), {quoted, plain}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.how);
        openDialog();
        auto *files = dialog->findChild<QFileSystemModel *>();
        QSignalSpy loaded(files, &QFileSystemModel::directoryLoaded);
        typeName(folder.filePath(QStringLiteral("sub")));
        QTest::keyClick(nameField, Qt::Key_Return);
        ASSERT_TRUE(loaded.count() > 0 || loaded.wait(10000));
        ASSERT_EQ(dialog->directory().absolutePath(), folder.filePath(QStringLiteral("sub")));
        list->setFocus(Qt::TabFocusReason);
        const auto moveTo = [&](const QString &path) {
            list->selectionModel()->setCurrentIndex(files->index(path), QItemSelectionModel::NoUpdate);
        };
        moveTo(quoted);
        QTest::keyClick(list, Qt::Key_Space);
        if (c.both) {
            moveTo(plain);
            QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
        }
        ASSERT_EQ(nameField->text(), c.field);
        if (c.byReturn)
            QTest::keyClick(list, Qt::Key_Return);
        else
            openButton()->click();
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(dialog->pickedFiles(), c.picked);
    }
}

// A name typed over the selection is what opens (here: another file of the folder).
TEST_F(SourceFileDialogTest, ATypedNameWinsOverTheSelection)
{
    const QString quoted = makeFile(QStringLiteral("My \"best\" (clip).rm"));
    const QString typed = makeFile(QStringLiteral("other.avi"));
    openDialog();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, itemCentre(quoted));
    typeName(QStringLiteral("other.avi"));
    openButton()->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->pickedFiles(), QStringList{typed});
}

// The dialog's own "File not found." box is dark like the program's other message boxes (it
// showed light text on light grey); the dialog stays open.
TEST_F(SourceFileDialogTest, TheNotFoundMessageWearsTheSkin)
{
    openDialog();
    typeName(QStringLiteral("nothing here.avi"));
    QString text;
    QColor background;
    QString styleSheet;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        text = box->text();
        background = box->palette().color(QPalette::Window);
        styleSheet = box->styleSheet();
        box->accept();
    });
    dialog->accept(); // Open is disabled for such a name, but the file may go while the dialog is up
    EXPECT_TRUE(text.contains(QStringLiteral("File not found"))) << text.toStdString();
    EXPECT_EQ(background, SkinPalette::base);
    EXPECT_EQ(styleSheet, SkinStyle::styleSheet());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_NE(dialog->result(), QDialog::Accepted);
}
