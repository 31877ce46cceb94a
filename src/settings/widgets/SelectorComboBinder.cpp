#include "settings/widgets/SelectorComboBinder.h"

#include <QComboBox>
#include <QSignalBlocker>

SelectorComboBinder::SelectorComboBinder(QComboBox *combo, OptionSelectionModel *model, Selector selector,
                                         std::function<void()> onUserChange)
    : QObject(combo), m_combo(combo), m_model(model), m_selector(selector), m_onUserChange(std::move(onUserChange))
{
    reloadEntries();
    connect(model, &OptionSelectionModel::entriesChanged, this, [this](Selector s) {
        if (s == m_selector)
            reloadEntries();
    });
    connect(model, &OptionSelectionModel::selectionChanged, this, [this](Selector s, int) {
        if (s == m_selector)
            showSelection();
    });
    connect(combo, &QComboBox::activated, this, [this](int index) {
        m_model->setSelectedIndex(m_selector, index);
        if (m_onUserChange)
            m_onUserChange();
    });
}

void SelectorComboBinder::reloadEntries()
{
    const QSignalBlocker block(m_combo);
    m_combo->clear();
    m_combo->addItems(m_model->entries(m_selector));
    showSelection();
}

void SelectorComboBinder::showSelection()
{
    const QSignalBlocker block(m_combo);
    m_combo->setCurrentIndex(m_model->selectedIndex(m_selector));
}

void bindEnabledState(QWidget *widget, OptionSelectionModel *model, SelectorControl control)
{
    widget->setEnabled(model->isEnabled(control));
    QObject::connect(model, &OptionSelectionModel::enabledChanged, widget, [widget, control](SelectorControl c, bool on) {
        if (c == control)
            widget->setEnabled(on);
    });
}
