#pragma once
// Runs the built encoders and the ffmpeg/ffprobe tools on small generated media.
#include "common/Ffmpeg.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <vector>

struct RunResult {
    int exitCode = -1;
    bool crashed = false;
    QString out;
    QString err;
};

QString evcPath();
QString revcPath();

// Runs a program to its end; childSetup runs in the child before exec. A non-empty `environment`
// replaces this process's environment.
RunResult runProgram(const QString& program, const QStringList& args,
                     const std::function<void()>& childSetup = {}, const QProcessEnvironment& environment = {});

QString probeTags(const QString& path);

// The audio decoded by ffmpeg as mono float samples at the file's own rate.
std::vector<float> decodeMono(const QString& path, int sampleRate);
double rmsDb(const std::vector<float>& samples, size_t from = 0, size_t count = SIZE_MAX);
float peak(const std::vector<float>& samples);

// Media made once per test process, on first use, in one temporary folder.
class Fixtures {
public:
    static Fixtures& instance();
    QString dir() const { return dir_.path(); }
    // Built with ffmpeg's arguments; name is the file name (its extension picks the container).
    QString make(const QString& name, const QStringList& ffmpegArgs);

    QString pcmAvi();      // 4 s 160x120 video + 44.1 kHz stereo 440 Hz PCM
    QString silenceThenTone(); // 10 s silence, then 5 s of 1 kHz at -20 dBFS (MP4, AAC)
    QString longWav();     // 20 min of tone, for stopping a conversion midway

private:
    QTemporaryDir dir_;
};

// A fresh empty folder for outputs.
QString freshFolder(const QString& name);
// Entries in the folder (hidden ones too), excluding . and ..
QStringList entriesOf(const QString& folder);
