#pragma once
// The main window's keyboard shortcuts as a plain table: a key and the held modifiers give the
// command to run, or None. The key itself is never consumed by the shortcut.
#include <Qt>

enum class MainCommand {
    None,
    OpenFile,
    RemoveFile,
    ClearFile,
    Options,
    Play,
    Pause,
    Stop,
    Convert,
    Help,
    SelectOutputFolder,
    Undo,       // Ctrl+Z: the list's last change
    Redo,       // Ctrl+Shift+Z
    StopAdding, // Esc: files being added
};

// Letter shortcuts need exactly Ctrl (no Shift, no Alt, no Meta), Redo exactly Ctrl+Shift; F1
// works with any modifiers, Esc with none.
MainCommand commandForKey(int key, Qt::KeyboardModifiers modifiers);
