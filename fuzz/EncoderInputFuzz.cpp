// The encoder converting arbitrary bytes as its input: whole, from a start time, and cut, with
// the volume raised through the limiter. It either writes a complete file or fails with
// nothing left behind.
#include "FuzzSupport.h"

#include "Extractor.h"
#include "Failure.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

extern "C" {
#include <libavutil/log.h>
}

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
    options.output = (outputFolder + QStringLiteral("sound.wav")).toStdString();
    options.overwrite = true;
    switch (size % 3) { // the size picks the job, so the media bytes stay the fuzzer's own
    case 1:
        options.startSeconds = 0.5;
        break;
    case 2:
        options.startSeconds = 0.2;
        options.durationSeconds = 0.3;
        options.volumePercent = 400;
        break;
    }
    bool converted = true;
    try {
        extractAudio(options);
    } catch (const Failure &) {
        converted = false;
    }
    const QStringList left = QDir(outputFolder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    FUZZ_EXPECT(converted ? left == QStringList{QStringLiteral("sound.wav")} : left.isEmpty());
    if (converted) {
        FUZZ_EXPECT(QFileInfo(outputFolder + QStringLiteral("sound.wav")).size() > 44);
        QFile::remove(outputFolder + QStringLiteral("sound.wav"));
    }
    return 0;
}
