#pragma once
#include <QString>
#include <QStringList>

// Runs the ffmpeg command line with "-v error -y" before `arguments`; true when it ended well
// within two minutes (a guard that only keeps a broken run from hanging the suite).
bool runFfmpeg(const QStringList &arguments);

// ffprobe's view of an audio file: its first audio stream's codec name, sample rate and channels,
// how many audio streams it has, and the file's duration in seconds.
struct ProbedAudio {
    QString codec;
    int sampleRate = 0;
    int channels = 0;
    int audioStreams = 0;
    double seconds = 0;
};
ProbedAudio ProbeAudio(const QString &path);
