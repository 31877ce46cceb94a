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
};

// Letter shortcuts need exactly Ctrl (no Shift, no Alt, no Meta); F1 works with any modifiers.
MainCommand commandForKey(int key, Qt::KeyboardModifiers modifiers);
