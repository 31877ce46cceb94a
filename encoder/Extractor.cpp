#include "Extractor.h"
#include "AudioChain.h"
#include "AudioSink.h"
#include "CutDecoder.h"
#include "EncodePlan.h"
#include "Failure.h"
#include "InputSource.h"
#include "LoudnessPass.h"
#include "PacketCopy.h"
#include "StatusLine.h"
#include "StopSignal.h"
#include "TempOutput.h"

#include <algorithm>
#include <cstdio>

namespace {

void checkStartInside(const Options& options, const InputSource& input)
{
    const double length = input.durationSeconds();
    if (options.startSeconds && length >= 0 && *options.startSeconds >= length)
        throw Failure("The start time " + clockText(*options.startSeconds) + " lies past the end of the input (" +
                      clockText(length) + ")");
}

// Seconds with at most `decimals` decimals and no trailing zeros: 14.49, 30, 2.75.
std::string secondsText(double seconds, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, seconds);
    std::string written = text;
    if (written.find('.') != std::string::npos) {
        written.erase(written.find_last_not_of('0') + 1);
        if (written.back() == '.')
            written.pop_back();
    }
    return written;
}

// Where the status lines' time= stands: with normalisation it runs once from 0 to the cut's length
// over both passes, the measuring pass taking the first `share` of it.
struct ProgressScale {
    double offset = 0;
    double factor = 1;
    double at(double seconds) const { return offset + seconds * factor; }
};

class Pipeline {
public:
    Pipeline(const Options& options, InputSource& input, AudioSink& sink, std::string extraFilters,
             ProgressScale scale)
        : options_(options), input_(input), sink_(sink), extraFilters_(std::move(extraFilters)), scale_(scale)
    {
    }

    void run()
    {
        CutDecoder(options_, input_, sink_.target(), extraFilters_)
            .run([this](AVFrame& frame) { sink_.write(frame); },
                 [this] { status_.maybePrint(sink_.bytesWritten(), scale_.at(seconds())); });
        if (sink_.samplesWritten() == 0)
            throw Failure(options_.startSeconds ? "No audio at or after the start time " +
                                                      clockText(*options_.startSeconds)
                                                : std::string("No audio could be decoded from the input"));
        sink_.finish();
        status_.printFinal(sink_.bytesWritten(), seconds());
        noticeEarlyEnd();
    }

private:
    // A file whose header promises more than it holds (cut off, say) ends before the end asked:
    // that is said in one line, so the caller can tell a short result from a complete one.
    void noticeEarlyEnd() const
    {
        const double asked = askedSeconds();
        if (asked <= 0 || seconds() >= asked - EarlyEndTolerance)
            return;
        printNotice("the sound ends at " + secondsText(seconds(), 2) + " s, before the end asked (" +
                    secondsText(asked, 3) + " s)");
    }

    // The length asked with -t, but no more than the header gives from the start on: a -t that
    // rounds the file's length up to a whole second is not a missing part (-1 unknown).
    double askedSeconds() const
    {
        const double length = input_.durationSeconds();
        const double rest = length < 0 ? -1 : length - options_.startSeconds.value_or(0);
        if (!options_.durationSeconds)
            return rest;
        return rest < 0 ? *options_.durationSeconds : std::min(*options_.durationSeconds, rest);
    }

    // Less than this short of the end is codec framing, not a missing part.
    static constexpr double EarlyEndTolerance = 0.5;

    double seconds() const { return double(sink_.samplesWritten()) / sink_.target().sampleRate; }

    const Options& options_;
    InputSource& input_;
    AudioSink& sink_;
    std::string extraFilters_;
    ProgressScale scale_;
    StatusLine status_;
};

// What the writing pass does to reach the loudness target, and where its progress starts.
struct Normalisation {
    std::string filters;
    ProgressScale scale;
};

// The measuring pass, on an input of its own: decodes only, writes nothing. Its share of the
// progress is what decoding costs beside encoding, roughly.
Normalisation normalise(const Options& options, const EncodePlan& plan)
{
    const double share = plan.encoderName == "pcm_s16le" ? 0.5 : 0.25;
    InputSource input(options.input);
    StatusLine status;
    const LoudnessMeasurement measured =
        measureLoudness(options, input, plan.sampleRate, plan.channels,
                        [&](double seconds) { status.maybePrint(0, seconds * share); });
    // A lossy encoder's own error lifts peaks by up to a decibel or so: its input keeps that much more headroom.
    const double ceiling = plan.encoderName == "pcm_s16le" ? TruePeakCeiling : TruePeakCeiling - LossyHeadroom;
    const LoudnessPlan loudness = planLoudness(*options.loudnessTarget, measured, ceiling);
    printLine(loudnessLine(loudness));
    const double length = double(measured.samples) / plan.sampleRate;
    return {loudnessFilters(loudness, plan.sampleRate), {length * share, 1 - share}};
}

} // namespace

void extractAudio(const Options& options)
{
    InputSource input(options.input);
    checkStartInside(options, input);
    if (options.keepOriginal && copyAudio(options, input))
        return;
    const EncodePlan plan = planEncoding(options, input.sampleRate(), input.channels());
    const Normalisation normalisation = options.loudnessTarget ? normalise(options, plan) : Normalisation{};
    TempOutput output(options.output, options.overwrite);
    {
        std::unique_ptr<AudioSink> sink = makeSink(plan, output.path(), input.descriptiveTags());
        Pipeline(options, input, *sink, normalisation.filters, normalisation.scale).run();
    }
    if (stopRequested())
        throw Failure("Stopped");
    output.commit();
}
