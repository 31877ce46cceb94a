#pragma once
// Which keys pressed in the source grid lay the markers out for the selected rows. A key that
// the main window runs as a command (Ctrl+P plays) moves no selection: neither its press nor its
// release lays the markers out, whichever key of the chord is let go first, and neither do bare
// modifier keys. Laying out rows other than the previewed one stops the preview, so with several
// rows selected such a key would stop what the command had just started.
#include <QList>
#include <Qt>
#include <functional>

class GridLayoutKeys {
public:
    using IsCommand = std::function<bool(int key, Qt::KeyboardModifiers modifiers)>;

    // What the window takes as a command; nothing until set.
    void setCommands(IsCommand isCommand) { m_isCommand = std::move(isCommand); }

    // A key went down in the grid: true when the markers are to follow the selection.
    bool pressLaysOut(int key, Qt::KeyboardModifiers modifiers);
    // A key came up in the grid: true when the markers are to follow the selection.
    bool releaseLaysOut(int key);

private:
    IsCommand m_isCommand;
    QList<int> m_commandKeysDown;
};
