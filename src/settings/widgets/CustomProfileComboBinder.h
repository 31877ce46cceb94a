#pragma once
// Makes the Options dialog's editable name box a view of the CustomProfileBox. The user's pick
// or a typed text that names an entry (the box completes typed text) updates the box and then
// runs the change handler; changes made from code never run it.
#include "settings/CustomProfileBox.h"

#include <QObject>
#include <QPointer>
#include <functional>

class QComboBox;

class CustomProfileComboBinder : public QObject {
    Q_OBJECT
public:
    // The binder lives as a child of `combo`; it does nothing once `box` is gone.
    CustomProfileComboBinder(QComboBox *combo, CustomProfileBox *box, std::function<void()> onUserChange);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showBox();
    void textEdited(const QString &text);
    void picked(int index);

    QComboBox *m_combo;
    QPointer<CustomProfileBox> m_box;
    std::function<void()> m_onUserChange;
    bool m_fromView = false;
    // A pick first changes the text, which already selects and loads the entry; its activation
    // then must not load it a second time.
    int m_loadedByText = -1;
};
