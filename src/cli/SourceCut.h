#pragma once
// The source row of one file: the row the window adds for it, cut to the times given for every
// file and checked against the file's own length as the window checks typed times.
#include "media/SourceRow.h"

#include <optional>

struct ProbedSourceFile;

struct CutSource {
    SourceRow row;
    qint64 cutSeconds = 0; // end minus start
    QString refusal;       // why the file is not converted; empty when it is
};

// An end past the file's end ends at the file's end; a start at or past it leaves nothing to
// convert, and the file is refused.
CutSource CutSourceRow(const ProbedSourceFile &file, std::optional<qint64> startSeconds,
                       std::optional<qint64> endSeconds);
