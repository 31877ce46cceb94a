#pragma once
#include "AudioChain.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

struct EncodePlan;

// Encodes converted frames into the output file.
class AudioSink {
public:
    virtual ~AudioSink() = default;
    virtual AudioTarget target() const = 0;
    // Takes a converted frame; its pts may be rewritten.
    virtual void write(AVFrame& frame) = 0;
    // Flushes the encoder and completes the file; throws when anything could not be written.
    virtual void finish() = 0;
    virtual int64_t bytesWritten() const = 0;
    virtual int64_t samplesWritten() const = 0;
};

using Tags = std::map<std::string, std::string>;

std::unique_ptr<AudioSink> makeSink(const EncodePlan& plan, const std::string& path, const Tags& tags);
