#include "settings/widgets/LoudnessComboBinder.h"

#include "settings/LoudnessSelection.h"
#include "settings/widgets/OptionForm.h"

#include <QComboBox>
#include <QSignalBlocker>

LoudnessComboBinder::LoudnessComboBinder(TfrmOption &form, TLoudnessSelection &selection, HandlerGuard guard)
    : QObject(form.cbbLoudness()), m_combo(form.cbbLoudness()), m_selection(selection), m_guard(std::move(guard))
{
    refresh();
    connect(m_combo, &QComboBox::activated, this, [this](int index) {
        m_guard([this, index] { m_selection.choose(index); });
        refresh();
    });
    connect(&form, &TfrmOption::showing, this, [this] {
        m_selection.remember();
        refresh();
    });
    connect(&form, &TfrmOption::cancelRequested, this, [this] {
        m_guard([this] { m_selection.restore(); });
        refresh();
    });
}

void LoudnessComboBinder::refresh()
{
    const QSignalBlocker block(m_combo);
    m_combo->clear();
    for (const LoudnessChoice &choice : m_selection.choices())
        m_combo->addItem(choice.label);
    m_combo->setCurrentIndex(m_selection.selectedIndex());
}
