#pragma once
#include <QString>
#include <QStringList>

// Runs the ffmpeg command line with "-v error -y" before `arguments`; true when it ended well
// within two minutes (a guard that only keeps a broken run from hanging the suite).
bool runFfmpeg(const QStringList &arguments);

// ffprobe's view of an audio file: codec name, sample rate, channels and duration in seconds.
struct ProbedAudio {
    QString codec;
    int sampleRate = 0;
    int channels = 0;
    double seconds = 0;
};
ProbedAudio ProbeAudio(const QString &path);
