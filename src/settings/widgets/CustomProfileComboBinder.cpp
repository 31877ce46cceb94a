#include "settings/widgets/CustomProfileComboBinder.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QSignalBlocker>

CustomProfileComboBinder::CustomProfileComboBinder(QComboBox *combo, CustomProfileBox *box,
                                                   std::function<void()> onUserChange)
    : QObject(combo), m_combo(combo), m_box(box), m_onUserChange(std::move(onUserChange))
{
    showBox();
    connect(box, &CustomProfileBox::changed, this, &CustomProfileComboBinder::showBox);
    connect(combo, &QComboBox::editTextChanged, this, &CustomProfileComboBinder::textEdited);
    connect(combo, &QComboBox::activated, this, &CustomProfileComboBinder::picked);
    connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this] { m_loadedByText = -1; });
    combo->installEventFilter(this);
    combo->lineEdit()->installEventFilter(this);
}

bool CustomProfileComboBinder::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut)
        m_loadedByText = -1;
    return QObject::eventFilter(watched, event);
}

void CustomProfileComboBinder::showBox()
{
    if (m_fromView || !m_box)
        return;
    const QSignalBlocker block(m_combo);
    QStringList shown;
    for (int i = 0; i < m_combo->count(); ++i)
        shown << m_combo->itemText(i);
    if (shown != m_box->entries()) {
        m_combo->clear();
        m_combo->addItems(m_box->entries());
    }
    m_combo->setCurrentIndex(m_box->selectedIndex());
    if (m_combo->currentText() != m_box->text())
        m_combo->setEditText(m_box->text());
    m_loadedByText = -1;
}

// Typing loads the profile when the text comes to name another entry (also by completion).
void CustomProfileComboBinder::textEdited(const QString &text)
{
    if (!m_box)
        return;
    const int before = m_box->selectedIndex();
    m_fromView = true;
    m_box->setTypedText(text);
    m_fromView = false;
    const int now = m_box->selectedIndex();
    if (now < 0 || now == before)
        return;
    m_loadedByText = now;
    m_onUserChange();
}

void CustomProfileComboBinder::picked(int index)
{
    if (!m_box)
        return;
    const bool loaded = index == m_loadedByText;
    m_loadedByText = -1;
    m_fromView = true;
    m_box->select(index);
    m_fromView = false;
    if (!loaded)
        m_onUserChange();
}
