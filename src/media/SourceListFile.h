#pragma once
// The source list as a file: a versioned JSON document that carries every row as the list holds
// it (id, path, size, length, cut in ms, check box, sound, audio tracks and the chosen one) and
// what each row was converted into. A reader passes over keys it does not know, so a row can
// carry more (a piece's "title") without a new version.
//
//   {"format": "kelvane-source-list", "version": 1,
//    "items": [{"id": 3, "path": "/v/a.mp4", "sizeBytes": 1024, "durationMs": 61000,
//               "startMs": 0, "endMs": 61000, "checked": true, "hasSound": true,
//               "audioTrack": 2, "audioTracks": [{"number": 1, ...}],
//               "converted": {"outputPath": "/m/a.mp3", "settingsKey": "...", "startMs": 0,
//                             "endMs": 61000, "audioTrack": 2}}]}
//
// A reader of version N reads every file of version N or older; a newer one is refused, never
// half read.
#include "media/ConvertedMark.h"
#include "media/SourceItem.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

inline constexpr int SourceListFileVersion = 1;

struct SavedSourceList {
    QList<SourceItem> items;
    QHash<quint64, ConvertedMark> marks; // by item id
};

struct SourceListReading {
    enum class Outcome { Read, Damaged, Newer };
    Outcome outcome = Outcome::Read;
    SavedSourceList list; // when read
    QString problem;      // when not: what is wrong, for the log
};

// The document for `list`; marks of items the list does not hold are left out.
QByteArray SourceListDocument(const SavedSourceList &list);
// Reads a document. Anything that is not a complete list of this format (bad JSON, a missing or
// mistyped field, repeated ids, negative times) is Damaged; a later version is Newer.
SourceListReading ReadSourceListDocument(const QByteArray &document);
