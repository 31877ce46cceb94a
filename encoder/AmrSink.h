#pragma once
#include "AudioSink.h"

#include <cstdio>
#include <memory>
#include <vector>

// A raw AMR-NB file ("#!AMR\n" and the frames), encoded with opencore-amrnb.
class AmrSink : public AudioSink {
public:
    AmrSink(const std::string& path, int mode);

    AudioTarget target() const override;
    void write(AVFrame& frame) override;
    void finish() override;
    int64_t bytesWritten() const override { return bytes_; }
    int64_t samplesWritten() const override { return samples_; }

private:
    void encodeBlock(const int16_t* samples);
    void put(const void* data, size_t size);

    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    struct EncoderCloser {
        void operator()(void* encoder) const;
    };

    static constexpr int blockSamples = 160; // 20 ms at 8000 Hz
    std::unique_ptr<std::FILE, FileCloser> file_;
    std::unique_ptr<void, EncoderCloser> encoder_;
    int mode_;
    std::vector<int16_t> pending_;
    int64_t bytes_ = 0;
    int64_t samples_ = 0;
};
