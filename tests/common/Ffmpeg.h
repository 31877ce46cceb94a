#pragma once
#include <QStringList>

// Runs the ffmpeg command line with "-v error -y" before `arguments`; true when it ended well
// within two minutes (a guard that only keeps a broken run from hanging the suite).
bool runFfmpeg(const QStringList &arguments);
