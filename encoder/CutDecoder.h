#pragma once
#include "AudioChain.h"
#include "Options.h"

#include <functional>
#include <memory>
#include <string>

class InputSource;

// Decodes the part of the input that is to be written (the cut, or the whole file) and runs it
// through one audio chain built for `target`: cut, rate and channels, volume, then `extraFilters`.
class CutDecoder {
public:
    CutDecoder(const Options& options, InputSource& input, const AudioTarget& target, std::string extraFilters = {});

    // Hands every converted frame to `take` (which may keep nothing of it once it returns) and
    // calls `afterInputFrame` after each decoded input frame. Throws Failure("Stopped") on a stop.
    void run(const std::function<void(AVFrame&)>& take, const std::function<void()>& afterInputFrame);

private:
    void drain(const std::function<void(AVFrame&)>& take);

    const Options& options_;
    InputSource& input_;
    AudioTarget target_;
    std::string extraFilters_;
    std::unique_ptr<AudioChain> chain_;
    FramePtr converted_;
};
