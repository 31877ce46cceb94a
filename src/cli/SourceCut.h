#pragma once
// The source item of one file: the item the window adds for it, cut to the times given for every
// file and checked against the file's own length as the window checks typed times.
#include "media/SourceItem.h"

#include <optional>

struct ProbedSourceFile;

struct CutSource {
    SourceItem item;
    qint64 cutSeconds = 0; // end minus start, as the window's grid shows it
    QString refusal;       // why the file is not converted; empty when it is
};

// An end past the file's end ends at the file's exact end; a start at or past it leaves nothing
// to convert, and the file is refused.
CutSource CutSourceItem(const ProbedSourceFile &file, std::optional<qint64> startSeconds,
                        std::optional<qint64> endSeconds);
