#include "MuxerOutput.h"
#include "Failure.h"
#include "StopSignal.h"

void OutputFormatFreer::operator()(AVFormatContext* c) const
{
    if (c->pb)
        avio_closep(&c->pb);
    avformat_free_context(c);
}

OutputFormatPtr allocOutputFormat(const std::string& muxerName)
{
    AVFormatContext* raw = nullptr;
    if (avformat_alloc_output_context2(&raw, nullptr, muxerName.c_str(), nullptr) < 0 || !raw)
        throw Failure("Cannot prepare the " + muxerName + " output");
    return OutputFormatPtr(raw);
}

void setOutputTags(AVFormatContext& muxer, AVStream& stream, const std::map<std::string, std::string>& tags)
{
    for (const auto& [key, value] : tags) {
        av_dict_set(&muxer.metadata, key.c_str(), value.c_str(), 0);
        if (muxer.oformat->name == std::string("ogg"))
            av_dict_set(&stream.metadata, key.c_str(), value.c_str(), 0);
    }
}

void openOutputFile(AVFormatContext& muxer, const std::string& path)
{
    muxer.interrupt_callback.callback = stopInterruptCallback;
    AVDictionary* settings = nullptr;
    av_dict_set(&settings, "protocol_whitelist", "file", 0);
    const int opened =
        avio_open2(&muxer.pb, ("file:" + path).c_str(), AVIO_FLAG_WRITE, &muxer.interrupt_callback, &settings);
    av_dict_free(&settings);
    if (opened < 0)
        throw Failure("Cannot write " + path + ": " + avErrorText(opened));
}

void throwWriteError(int code)
{
    if (stopRequested())
        throw Failure("Stopped");
    throw Failure("Writing the output failed: " + avErrorText(code));
}
