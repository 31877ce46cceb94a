// The encoder converting arbitrary bytes as its input. The input's size picks the job, so the
// media bytes stay the fuzzer's own: encoding whole, from a start time, cut with the volume
// raised through the limiter, copying the sound as it is (whole and cut, into the type that holds
// the input's codec) and normalising the loudness. It either writes a complete file or fails with
// nothing left behind.
#include "FuzzSupport.h"

#include "Extractor.h"
#include "Failure.h"
#include "InputSource.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

extern "C" {
#include <libavutil/log.h>
}

namespace {

// The output type that holds the input's sound as it is, so that copying is tried; WAV when the
// input has none that a copy can keep (it is then encoded).
QString copyingName(const QString &input)
{
    try {
        switch (InputSource(input.toStdString()).stream().codecpar->codec_id) {
        case AV_CODEC_ID_AAC: return QStringLiteral("sound.m4a");
        case AV_CODEC_ID_MP3: return QStringLiteral("sound.mp3");
        case AV_CODEC_ID_AC3: return QStringLiteral("sound.ac3");
        case AV_CODEC_ID_VORBIS: return QStringLiteral("sound.ogg");
        default: break;
        }
    } catch (const Failure &) {
    }
    return QStringLiteral("sound.wav");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    av_log_set_level(AV_LOG_QUIET);
    return std::freopen("/dev/null", "w", stdout) ? 0 : 1; // the status lines
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = scratchFolder() + QStringLiteral("input");
    const QString outputFolder = scratchFolder() + QStringLiteral("out/");
    static const bool madeFolder = QDir().mkpath(outputFolder);
    FUZZ_EXPECT(madeFolder);
    writeBytes(input, data, size);
    keepRecentInput(data, size);

    Options options;
    options.input = input.toStdString();
    QString name = QStringLiteral("sound.wav");
    options.overwrite = true;
    switch (size % 6) {
    case 1:
        options.startSeconds = 0.5;
        break;
    case 2:
        options.startSeconds = 0.2;
        options.durationSeconds = 0.3;
        options.volumePercent = 400;
        break;
    case 3:
        options.keepOriginal = true;
        name = copyingName(input);
        break;
    case 4:
        options.keepOriginal = true;
        options.startSeconds = 0.2;
        options.durationSeconds = 0.3;
        name = copyingName(input);
        break;
    case 5:
        options.loudnessTarget = -16;
        options.startSeconds = 0.1;
        break;
    }
    options.output = (outputFolder + name).toStdString();
    bool converted = true;
    try {
        extractAudio(options);
    } catch (const Failure &) {
        converted = false;
    }
    const QStringList left = QDir(outputFolder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    FUZZ_EXPECT(converted ? left == QStringList{name} : left.isEmpty());
    if (converted) {
        FUZZ_EXPECT(QFileInfo(outputFolder + name).size() > (name.endsWith(QStringLiteral(".wav")) ? 44 : 0));
        QFile::remove(outputFolder + name);
    }
    return 0;
}
