#include "LameTag.h"
#include "Failure.h"

#include <algorithm>

extern "C" {
#include <libavutil/intreadwrite.h>
}

namespace {

// The tag counts the decoder's own delay of 529 samples in both of its 12-bit fields.
constexpr int64_t DecoderDelay = 529;
constexpr int64_t FieldMost = 4095;

} // namespace

int64_t lameStartSkip(int64_t before)
{
    return before >= DecoderDelay ? std::min(before, FieldMost + DecoderDelay) : 0;
}

int64_t lameEndSkip(int64_t after)
{
    return after > 0 && after + DecoderDelay <= FieldMost ? after : 0;
}

void markLameTag(AVPacket& packet, int64_t startSkip, int64_t endSkip)
{
    if (startSkip <= 0 && endSkip <= 0)
        return;
    uint8_t* skip = av_packet_new_side_data(&packet, AV_PKT_DATA_SKIP_SAMPLES, 10);
    if (!skip)
        throw Failure("Out of memory");
    // The muxer takes the decoder's delay off the start; less would read as thousands of samples.
    AV_WL32(skip, uint32_t(std::max(startSkip, DecoderDelay)));
    AV_WL32(skip + 4, uint32_t(endSkip));
}
