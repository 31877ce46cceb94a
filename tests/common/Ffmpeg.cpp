#include "common/Ffmpeg.h"

#include <QProcess>

bool runFfmpeg(const QStringList &arguments)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), QStringList{"-v", "error", "-y"} + arguments);
    return ffmpeg.waitForFinished(120000) && ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0;
}

ProbedAudio ProbeAudio(const QString &path)
{
    QProcess ffprobe;
    ffprobe.start(QStringLiteral("ffprobe"),
                  {"-v", "error", "-select_streams", "a", "-show_entries",
                   "stream=codec_name,sample_rate,channels:format=duration", "-of", "default=noprint_wrappers=1", path});
    ProbedAudio audio;
    if (!ffprobe.waitForFinished(120000))
        return audio;
    for (const QString &line : QString::fromUtf8(ffprobe.readAllStandardOutput()).split(u'\n')) {
        const QString key = line.section(u'=', 0, 0);
        const QString value = line.section(u'=', 1);
        if (key == u"codec_name" && ++audio.audioStreams == 1)
            audio.codec = value;
        else if (key == u"sample_rate" && audio.audioStreams == 1)
            audio.sampleRate = value.toInt();
        else if (key == u"channels" && audio.audioStreams == 1)
            audio.channels = value.toInt();
        else if (key == u"duration")
            audio.seconds = value.toDouble();
    }
    return audio;
}
