#pragma once
// What the tests see of other processes through /proc: which ones have a file in a folder open
// (an encoder writing its output, named or unnamed), and whether a process still runs.
#include <QList>
#include <QString>

#include <sys/types.h>

// The processes with an open file in `folder` (not below it), also one that has no name there yet.
QList<pid_t> ProcessesWritingInto(const QString &folder);

// True while `pid` runs; a process that has ended but was not reaped yet (a zombie) has ended.
bool ProcessRuns(pid_t pid);

// The entries of `folder`, hidden ones included, sorted; empty for a folder that does not exist.
QStringList FolderListing(const QString &folder);
