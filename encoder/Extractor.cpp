#include "Extractor.h"
#include "AudioChain.h"
#include "AudioSink.h"
#include "EncodePlan.h"
#include "Failure.h"
#include "InputSource.h"
#include "PacketCopy.h"
#include "StatusLine.h"
#include "StopSignal.h"
#include "TempOutput.h"

#include <cstdio>

namespace {

void checkStartInside(const Options& options, const InputSource& input)
{
    const double length = input.durationSeconds();
    if (options.startSeconds && length >= 0 && *options.startSeconds >= length)
        throw Failure("The start time " + clockText(*options.startSeconds) + " lies past the end of the input (" +
                      clockText(length) + ")");
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
    }

private:
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
    if (options.keepOriginal && copyAudio(options, input))
        return;
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
