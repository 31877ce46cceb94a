#include "AmrSink.h"
#include "Failure.h"

#include <cerrno>
#include <cstring>

extern "C" {
#include <opencore-amrnb/interf_enc.h>
}

void AmrSink::EncoderCloser::operator()(void* encoder) const
{
    Encoder_Interface_exit(encoder);
}

AmrSink::AmrSink(const std::string& path, int mode) : mode_(mode)
{
    file_.reset(std::fopen(path.c_str(), "wb"));
    if (!file_)
        throw Failure("Cannot write " + path + ": " + std::strerror(errno));
    encoder_.reset(Encoder_Interface_init(0));
    if (!encoder_)
        throw Failure("Cannot start the AMR-NB encoder");
    static const char magic[] = "#!AMR\n";
    put(magic, sizeof magic - 1);
}

AudioTarget AmrSink::target() const
{
    return AudioTarget{AV_SAMPLE_FMT_S16, 8000, 1, blockSamples};
}

void AmrSink::put(const void* data, size_t size)
{
    if (std::fwrite(data, 1, size, file_.get()) != size)
        throw Failure(std::string("Writing the output failed: ") + std::strerror(errno));
    bytes_ += static_cast<int64_t>(size);
}

void AmrSink::encodeBlock(const int16_t* samples)
{
    unsigned char out[64];
    const int size = Encoder_Interface_Encode(encoder_.get(), static_cast<Mode>(mode_), samples, out, 0);
    if (size <= 0)
        throw Failure("The AMR-NB encoder failed");
    put(out, static_cast<size_t>(size));
}

void AmrSink::write(AVFrame& frame)
{
    const auto* samples = reinterpret_cast<const int16_t*>(frame.data[0]);
    samples_ += frame.nb_samples;
    if (frame.nb_samples == blockSamples && pending_.empty()) {
        encodeBlock(samples);
        return;
    }
    pending_.insert(pending_.end(), samples, samples + frame.nb_samples);
    size_t used = 0;
    for (; pending_.size() - used >= blockSamples; used += blockSamples)
        encodeBlock(pending_.data() + used);
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(used));
}

void AmrSink::finish()
{
    if (!pending_.empty()) {
        pending_.resize(blockSamples, 0); // the last frame is padded with silence
        encodeBlock(pending_.data());
        pending_.clear();
    }
    const bool flushed = std::fflush(file_.get()) == 0;
    const int savedErrno = errno;
    const bool closed = std::fclose(file_.release()) == 0;
    if (!flushed || !closed)
        throw Failure(std::string("Writing the output failed: ") + std::strerror(flushed ? errno : savedErrno));
}
