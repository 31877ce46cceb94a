#pragma once
// Which files the source list takes, and the filters of the open dialog for them.
#include <QString>
#include <QStringList>

// Extensions of the video files the list takes, with the dot, in lower case.
const QStringList &AcceptedSourceExtensions();

// True when the extension of the file name (from its last ".") in lower case is accepted.
bool IsAcceptedSourceFile(const QString &path);

// The open dialog's filters as QFileDialog name filters, in menu order: the caption the user
// sees, then the patterns in brackets ("Supported Files (*.3gp *.mp4 ...)"). Captions that
// carry brackets of their own keep them; the dialog takes the patterns from the last brackets.
QStringList SourceFileDialogFilters();

// `paths` in their order with repeats removed (exact comparison, the first one stays).
QStringList DistinctPaths(const QStringList &paths);
