#include "settings/CustomProfileBox.h"

CustomProfileBox::CustomProfileBox(QObject *parent) : QObject(parent) {}

QString CustomProfileBox::selectedName() const
{
    return m_selected >= 0 ? m_entries.at(m_selected) : QString();
}

int CustomProfileBox::indexOf(const QString &name) const
{
    if (name.isEmpty())
        return -1;
    const int exact = int(m_entries.indexOf(name));
    if (exact >= 0)
        return exact;
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void CustomProfileBox::setEntries(const QStringList &entries)
{
    m_entries = entries;
    m_selected = indexOf(m_text);
    Q_EMIT entriesChanged();
    Q_EMIT changed();
}

void CustomProfileBox::select(int index)
{
    if (index < 0 || index >= m_entries.size())
        index = -1;
    m_selected = index;
    m_text = selectedName();
    Q_EMIT changed();
}

void CustomProfileBox::setTypedText(const QString &text)
{
    m_text = text;
    m_selected = indexOf(text);
    Q_EMIT changed();
}
