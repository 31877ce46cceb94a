#pragma once
// Makes a QComboBox a view of one selector of the option model. The user's pick updates the
// model and then runs the change handler; selecting from code (the model) never runs it.
#include "settings/OptionSelectionModel.h"

#include <QObject>
#include <functional>

class QComboBox;
class QWidget;

class SelectorComboBinder : public QObject {
    Q_OBJECT
public:
    // The binder lives as a child of `combo`. `onUserChange` runs after the model took the
    // user's choice (QComboBox::activated only).
    SelectorComboBinder(QComboBox *combo, OptionSelectionModel *model, Selector selector,
                        std::function<void()> onUserChange = {});

private:
    void reloadEntries();
    void showSelection();

    QComboBox *m_combo;
    OptionSelectionModel *m_model;
    Selector m_selector;
    std::function<void()> m_onUserChange;
};

// Keeps `widget`'s enabled state equal to the model's state of `control`.
void bindEnabledState(QWidget *widget, OptionSelectionModel *model, SelectorControl control);
