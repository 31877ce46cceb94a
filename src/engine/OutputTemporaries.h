#pragma once
// The temporaries our encoders leave in an output folder. An encoder writes its output as an
// unnamed file, which nothing can leave behind; only where the folder's filesystem refuses
// unnamed files does it use a named temporary:
//   "." + the output's file name (shortened to fit) + ".kelvane-" + the encoder's process id
//   + "-" + six letters or digits + ".part"        (".talk.m4a.kelvane-4711-a8Zk3q.part")
// encoder/TempOutput.h writes the same pattern. A name of any other form is never touched.
#include "engine/AdvanceSystem.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <sys/types.h>

inline constexpr char OutputTemporaryMarker[] = ".kelvane-";
inline constexpr char OutputTemporarySuffix[] = ".part";

// How old a temporary of ours must be before a new conversion takes it for abandoned: one that
// an encoder still writes is younger.
inline constexpr std::chrono::hours StaleTemporaryAge{24};

// True when `fileName` (bytes of a name, no folder) has the pattern; when `pid` is not 0, also
// written by that process; when `outputName` is not empty, also standing for that output.
bool IsOutputTemporaryName(const QByteArray &fileName, pid_t pid = 0, const QByteArray &outputName = {});

// Removes the named temporary that the encoder `pid` left for `outputPath`; returns the paths removed.
QStringList RemoveOutputTemporaries(const QString &outputPath, pid_t pid);

// For TAdvanceSystem::setOnEnded: an encoder writing `outputPath` that ended without success
// (a failure, a stop, a kill) has its temporary removed.
TEndHandler RemoveTemporaryWhenFailed(const QString &outputPath);

// Removes the temporaries of ours (regular files only) in `folder` last changed StaleTemporaryAge
// or more before `now`, with one line each to `log`; returns the paths removed.
QStringList RemoveStaleOutputTemporaries(const QString &folder, std::chrono::system_clock::time_point now,
                                         const std::function<void(const QString &)> &log);
