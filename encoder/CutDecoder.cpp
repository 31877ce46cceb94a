#include "CutDecoder.h"
#include "Failure.h"
#include "InputSource.h"
#include "StopSignal.h"

CutDecoder::CutDecoder(const Options& options, InputSource& input, const AudioTarget& target, std::string extraFilters)
    : options_(options), input_(input), target_(target), extraFilters_(std::move(extraFilters)),
      converted_(allocFrame())
{
}

void CutDecoder::run(const std::function<void(AVFrame&)>& take, const std::function<void()>& afterInputFrame)
{
    if (options_.startSeconds)
        input_.seekBefore(*options_.startSeconds);
    while (AVFrame* frame = input_.nextFrame()) {
        if (!chain_)
            chain_ = std::make_unique<AudioChain>(*frame, Segment{options_.startSeconds, options_.durationSeconds},
                                                  options_.volumePercent, target_, extraFilters_);
        if (chain_->endSample() >= 0 && frame->pts >= chain_->endSample())
            break;
        chain_->push(frame);
        drain(take);
        if (chain_->ended())
            break;
        afterInputFrame();
    }
    if (chain_) {
        chain_->push(nullptr);
        drain(take);
    }
}

void CutDecoder::drain(const std::function<void(AVFrame&)>& take)
{
    while (chain_->pull(converted_.get())) {
        if (stopRequested())
            throw Failure("Stopped");
        take(*converted_);
        av_frame_unref(converted_.get());
    }
}
