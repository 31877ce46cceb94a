#include "Extractor.h"
#include "AudioChain.h"
#include "AudioSink.h"
#include "EncodePlan.h"
#include "Failure.h"
#include "InputSource.h"
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

class Pipeline {
public:
    Pipeline(const Options& options, InputSource& input, AudioSink& sink)
        : options_(options), input_(input), sink_(sink), converted_(allocFrame())
    {
    }

    void run()
    {
        if (options_.startSeconds)
            input_.seekBefore(*options_.startSeconds);
        while (AVFrame* frame = input_.nextFrame()) {
            if (!chain_)
                chain_ = std::make_unique<AudioChain>(*frame, Segment{options_.startSeconds, options_.durationSeconds},
                                                      options_.volumePercent, sink_.target());
            if (chain_->endSample() >= 0 && frame->pts >= chain_->endSample())
                break;
            chain_->push(frame);
            drain();
            if (chain_->ended())
                break;
            status_.maybePrint(sink_.bytesWritten(), seconds());
        }
        if (chain_) {
            chain_->push(nullptr);
            drain();
        }
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

    // The length asked with -t; without it, what the header gives from the start on (-1 unknown).
    double askedSeconds() const
    {
        if (options_.durationSeconds)
            return *options_.durationSeconds;
        const double length = input_.durationSeconds();
        return length < 0 ? -1 : length - options_.startSeconds.value_or(0);
    }

    // Less than this short of the end is codec framing, not a missing part.
    static constexpr double EarlyEndTolerance = 0.5;

    void drain()
    {
        while (chain_->pull(converted_.get())) {
            if (stopRequested())
                throw Failure("Stopped");
            sink_.write(*converted_);
            av_frame_unref(converted_.get());
        }
    }

    double seconds() const { return double(sink_.samplesWritten()) / sink_.target().sampleRate; }

    const Options& options_;
    InputSource& input_;
    AudioSink& sink_;
    std::unique_ptr<AudioChain> chain_;
    FramePtr converted_;
    StatusLine status_;
};

} // namespace

void extractAudio(const Options& options)
{
    InputSource input(options.input);
    checkStartInside(options, input);
    const EncodePlan plan = planEncoding(options, input.sampleRate(), input.channels());
    TempOutput output(options.output, options.overwrite);
    {
        std::unique_ptr<AudioSink> sink = makeSink(plan, output.path(), input.descriptiveTags());
        Pipeline(options, input, *sink).run();
    }
    if (stopRequested())
        throw Failure("Stopped");
    output.commit();
}
