#include "Extractor.h"
#include "AudioChain.h"
#include "AudioSink.h"
#include "CutDecoder.h"
#include "EncodePlan.h"
#include "Failure.h"
#include "InputSource.h"
#include "LoudnessPass.h"
#include "StatusLine.h"
#include "StopSignal.h"
#include "TempOutput.h"

#include <cstdio>

namespace {

std::string clockText(double seconds)
{
    const long whole = static_cast<long>(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
    return text;
}

void checkStartInside(const Options& options, const InputSource& input)
{
    const double length = input.durationSeconds();
    if (options.startSeconds && length >= 0 && *options.startSeconds >= length)
        throw Failure("The start time " + clockText(*options.startSeconds) + " lies past the end of the input (" +
                      clockText(length) + ")");
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
    }

private:
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
