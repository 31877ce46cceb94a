#pragma once
// The Options dialog's custom profile name box without a window: its names, the selected
// entry and the edit text. The editable combo box is a view of it.
#include <QObject>
#include <QStringList>

class CustomProfileBox : public QObject {
    Q_OBJECT
public:
    explicit CustomProfileBox(QObject *parent = nullptr);

    const QStringList &entries() const { return m_entries; }
    int selectedIndex() const { return m_selected; }
    const QString &text() const { return m_text; }
    // The name of the selected entry; empty when nothing is selected.
    QString selectedName() const;

    // The entry named `name`: the same spelling first, else one differing only in letter case;
    // -1 when none or when `name` is empty.
    int indexOf(const QString &name) const;

    // Replaces the names. The edit text stays, and the entry it names (as indexOf) is selected.
    void setEntries(const QStringList &entries);
    // Selects entry `index` and shows its name; -1 (or an index out of range) selects nothing
    // and empties the text.
    void select(int index);
    // The user edited the text: the entry it names becomes the selected one, else none.
    void setTypedText(const QString &text);

Q_SIGNALS:
    void entriesChanged();
    // The selection or the text changed.
    void changed();

private:
    QStringList m_entries;
    int m_selected = -1;
    QString m_text;
};
