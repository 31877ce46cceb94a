#pragma once
// The files named on the command line: folders stand for the video files in them and in their
// folders (SourceFolderTree), every path
// is made absolute (the encoder runs in the program folder), repeats are converted once.
#include <QString>
#include <QStringList>

struct RejectedSource {
    QString path;
    QString reason;
};

struct SourceList {
    QStringList accepted;          // absolute paths with a video extension the window takes
    QList<RejectedSource> rejected; // named files the window would not take, folders without videos
};

// Relative paths are taken against `workingFolder`. A named file with another extension is
// rejected; in a named folder such files are passed over, as the window passes them over.
SourceList CollectSources(const QStringList &arguments, const QString &workingFolder);
