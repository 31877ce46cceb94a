#pragma once
// The open dialog for source files. Qt's own dialog reads its name field as a list of quoted
// names as soon as the field holds a double quote, so a file whose name holds one could not be
// opened: here the files selected in the list are taken as they are whenever the name field
// still shows that selection. The dialog's own messages ("File not found.") wear the skin.
#include <QFileDialog>

class SourceFileDialog final : public QFileDialog {
    Q_OBJECT
public:
    SourceFileDialog(QWidget *owner, const QString &initialFolder);

    // What the user picked, once the dialog was accepted.
    QStringList pickedFiles() const;

    void accept() override;

protected:
    void childEvent(QChildEvent *event) override;

private:
    // The files selected in the list, in the order of selecting; empty when the name field
    // shows something else (the user typed a name).
    QStringList selectionShownInNameField() const;

    QStringList m_picked;
};
