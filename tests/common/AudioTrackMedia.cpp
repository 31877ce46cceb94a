#include "common/AudioTrackMedia.h"

#include "common/Ffmpeg.h"

#include <QDir>
#include <QProcess>

#include <cmath>
#include <cstring>
#include <vector>

namespace AudioTrackMedia {

namespace {

constexpr int MeasureRate = 16000;

QStringList dispositions(DefaultTrack defaultTrack)
{
    switch (defaultTrack) {
    case DefaultTrack::First: return {};
    case DefaultTrack::Second: return {"-disposition:a:0", "0", "-disposition:a:1", "default"};
    case DefaultTrack::None: return {"-disposition:a:0", "0", "-disposition:a:1", "0"};
    }
    return {};
}

std::vector<float> decodeMono(const QString &path)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), {"-v", "error", "-i", path, "-map", "0:a:0", "-ac", "1", "-ar",
                                             QString::number(MeasureRate), "-f", "f32le", "-"});
    if (!ffmpeg.waitForFinished(120000))
        return {};
    const QByteArray bytes = ffmpeg.readAllStandardOutput();
    std::vector<float> samples(size_t(bytes.size()) / sizeof(float));
    std::memcpy(samples.data(), bytes.constData(), samples.size() * sizeof(float));
    return samples;
}

} // namespace

QString make(const QString &folder, const QString &name, DefaultTrack defaultTrack)
{
    const QString path = QDir(folder).filePath(name);
    const QStringList arguments =
        QStringList{"-f", "lavfi", "-i", "testsrc=size=160x120:rate=10:duration=3",
                    "-f", "lavfi", "-i", "sine=frequency=440:duration=3:sample_rate=48000",
                    "-f", "lavfi", "-i", "sine=frequency=880:duration=3:sample_rate=48000",
                    "-map", "0:v", "-map", "1:a", "-map", "2:a", "-c:v", "mpeg4",
                    "-c:a:0", "aac", "-ac:a:0", "2", "-c:a:1", "ac3", "-ac:a:1", "6",
                    "-metadata:s:a:0", "language=eng", "-metadata:s:a:1", "language=fre",
                    "-metadata:s:a:1", "title=Commentaire"} +
        dispositions(defaultTrack) + QStringList{path};
    return runFfmpeg(arguments) ? path : QString();
}

double dominantFrequency(const QString &path)
{
    const std::vector<float> samples = decodeMono(path);
    // The middle part: codecs' start-up and end padding stay out.
    const size_t from = samples.size() / 5;
    const size_t to = samples.size() - samples.size() / 5;
    if (to <= from + MeasureRate / 10)
        return 0;
    size_t rises = 0;
    for (size_t i = from + 1; i < to; ++i) {
        if (samples[i - 1] < 0 && samples[i] >= 0)
            ++rises;
    }
    return double(rises) * MeasureRate / double(to - from);
}

bool isTone(double hz, double expected)
{
    return std::abs(hz - expected) <= expected * 0.03;
}

} // namespace AudioTrackMedia
