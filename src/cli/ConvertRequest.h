#pragma once
// What one kelvane-convert invocation asks for, as read from its command line.
#include <QString>
#include <QStringList>
#include <optional>

#include "settings/LoudnessTarget.h"

struct ConvertRequest {
    int outputType = 0;                // index into OutputTypes(); the window's default (AMR)
    std::optional<int> quality;        // built-in quality 0..4; unset: the window's default
    QString profileName;               // a custom profile instead of a quality; empty: none
    // Options set after the profile, as indexes into their option lists.
    std::optional<int> audioBitrate;
    std::optional<int> sampleRate;
    std::optional<int> channels;
    std::optional<int> volume;
    // The part of every file to convert, in seconds; unset: from the start, to the end.
    std::optional<qint64> startSeconds;
    std::optional<qint64> endSeconds;
    bool keepOriginal = false;         // --keep-original: copy the sound when the type already holds it
    QString outputFolder;              // empty: the window's output folder
    std::optional<LoudnessTarget> loudness; // --loudness; unset: the window's setting
    int jobs = 0;                      // encoders at once; 0: one per core
    bool json = false;
    bool quiet = false;
    QStringList sources;               // files and folders, as given
};
