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

// The video files directly in `folder` (an accepted extension, a regular file), sorted by name;
// the folders inside it are not entered.
QStringList VideoFilesIn(const QString &folder);

// `paths` with every folder among them replaced by the video files in it (VideoFilesIn); other
// paths stay as they are, in their place.
QStringList WithFoldersExpanded(const QStringList &paths);
