#pragma once
// Files named on the program's command line, as a file manager's "Open with" hands them over.
#include <QString>
#include <QStringList>

// The files among `arguments` (the program name left out) as absolute paths, in their order:
// relative names are taken from `currentFolder`, "file:" addresses become paths, other addresses
// and a lone "--" are passed over, and so is "--new-window" before a "--". Which of them the
// list accepts is decided where files are added.
QStringList StartupFiles(const QStringList &arguments, const QString &currentFolder);

// True when `arguments` ask for a window of its own (--new-window before any "--") instead of
// handing the files to a running one.
bool WantsNewWindow(const QStringList &arguments);
