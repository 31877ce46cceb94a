// The encoder's argument parser on arbitrary argument lists (NUL bytes part the arguments),
// and the plan it makes from what it accepted for any source rate and channel count.
#include "FuzzSupport.h"

#include "EncodePlan.h"
#include "Failure.h"
#include "Options.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // The plan prints a notice for every value it changes.
    return std::freopen("/dev/null", "w", stdout) ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<std::string> args(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            args.emplace_back();
        else
            args.back().push_back(char(data[i]));
    }
    for (const std::string &arg : args) {
        if (const auto seconds = parseClockTime(arg))
            FUZZ_EXPECT(std::isfinite(*seconds) && *seconds >= 0);
    }
    Options options;
    try {
        options = parseOptions(args);
    } catch (const Failure &) {
        return 0;
    }
    FUZZ_EXPECT(!options.input.empty() && !options.output.empty());
    FUZZ_EXPECT(options.volumePercent >= 0 && options.volumePercent <= 1000);
    FUZZ_EXPECT(!options.startSeconds || (std::isfinite(*options.startSeconds) && *options.startSeconds >= 0));
    FUZZ_EXPECT(!options.durationSeconds || (std::isfinite(*options.durationSeconds) && *options.durationSeconds > 0));

    const int sourceRate = size > 0 ? int(data[0]) * 1500 : 44100;
    const int sourceChannels = size > 1 ? data[1] % 10 : 2;
    try {
        const EncodePlan plan = planEncoding(options, sourceRate, sourceChannels);
        FUZZ_EXPECT(plan.sampleRate > 0 && plan.channels > 0 && plan.bitRate > 0);
        FUZZ_EXPECT(plan.amr || (!plan.encoderName.empty() && !plan.muxerName.empty()));
    } catch (const Failure &) {
    }
    return 0;
}
