#include "EncoderHarness.h"
#include "common/TestPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

QString evcPath() { return builtProgramFolder() + QStringLiteral("evc"); }
QString revcPath() { return builtProgramFolder() + QStringLiteral("revc"); }

RunResult runProgram(const QString& program, const QStringList& args, const std::function<void()>& childSetup,
                     const QProcessEnvironment& environment)
{
    QProcess process;
    if (!environment.isEmpty())
        process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    if (childSetup)
        process.setChildProcessModifier(childSetup);
    process.start(program, args);
    RunResult result;
    if (!process.waitForStarted(-1))
        return result;
    process.waitForFinished(-1);
    result.crashed = process.exitStatus() != QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QString probeTags(const QString& path)
{
    return runProgram(QStringLiteral("ffprobe"), {"-v", "error", "-show_entries", "format_tags:stream_tags", "-of",
                                                  "flat", path})
        .out;
}

std::vector<float> decodeMono(const QString& path, int sampleRate)
{
    QProcess process;
    process.start(QStringLiteral("ffmpeg"), {"-v", "error", "-i", path, "-ac", "1", "-ar", QString::number(sampleRate),
                                             "-f", "f32le", "-"});
    process.waitForFinished(-1);
    const QByteArray bytes = process.readAllStandardOutput();
    std::vector<float> samples(size_t(bytes.size()) / sizeof(float));
    std::memcpy(samples.data(), bytes.constData(), samples.size() * sizeof(float));
    return samples;
}

double rmsDb(const std::vector<float>& samples, size_t from, size_t count)
{
    double sum = 0;
    size_t n = 0;
    for (size_t i = from; i < samples.size() && n < count; ++i, ++n)
        sum += double(samples[i]) * samples[i];
    if (n == 0 || sum == 0)
        return -200;
    return 10 * std::log10(sum / n);
}

float peak(const std::vector<float>& samples)
{
    float p = 0;
    for (float s : samples)
        p = std::max(p, std::fabs(s));
    return p;
}

Fixtures& Fixtures::instance()
{
    static Fixtures fixtures;
    return fixtures;
}

QString Fixtures::make(const QString& name, const QStringList& ffmpegArgs)
{
    const QString path = dir_.filePath(name);
    if (QFileInfo::exists(path))
        return path;
    QStringList args{"-v", "error", "-y"};
    args << ffmpegArgs << path;
    const RunResult r = runProgram(QStringLiteral("ffmpeg"), args);
    EXPECT_EQ(r.exitCode, 0) << "fixture " << name.toStdString() << ": " << r.err.toStdString();
    return path;
}

static QStringList smallVideoAndTone(double seconds, int rate = 44100)
{
    return {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=10:duration=" + QString::number(seconds),
            "-f", "lavfi", "-i",
            "sine=frequency=440:sample_rate=" + QString::number(rate) + ":duration=" + QString::number(seconds)};
}

QString Fixtures::pcmAvi()
{
    return make("pcm.avi", smallVideoAndTone(4) + QStringList{"-c:v", "mpeg4", "-c:a", "pcm_s16le", "-ac", "2"});
}

QString Fixtures::silenceThenTone()
{
    return make("silence-tone.mp4",
                {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=10:duration=15", "-f", "lavfi", "-i",
                 "aevalsrc='if(gte(t,10),0.1*sin(2*PI*1000*t),0)':s=44100:d=15", "-c:v", "mpeg4", "-c:a", "aac",
                 "-b:a", "128k", "-shortest"});
}

QString Fixtures::longWav()
{
    return make("long.wav", {"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=8000:duration=1200"});
}

QString freshFolder(const QString& name)
{
    QDir dir(Fixtures::instance().dir());
    dir.mkpath(name);
    return dir.filePath(name);
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}
