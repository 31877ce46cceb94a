#pragma once
// What every libavformat output of the encoder shares: the owning handle, the output file opened
// with the stop callback, the descriptive tags and the write errors.
#include "AvHandles.h"

#include <map>
#include <memory>
#include <string>

struct OutputFormatFreer {
    void operator()(AVFormatContext* c) const;
};
using OutputFormatPtr = std::unique_ptr<AVFormatContext, OutputFormatFreer>;

// A muxer of that name with no file yet; throws Failure when there is none.
OutputFormatPtr allocOutputFormat(const std::string& muxerName);

// Puts the tags on the file (and on the stream too for Ogg, which keeps them there).
void setOutputTags(AVFormatContext& muxer, AVStream& stream, const std::map<std::string, std::string>& tags);

// Opens `path` for writing; a stop request interrupts the writes.
void openOutputFile(AVFormatContext& muxer, const std::string& path);

// "Stopped" when a stop was asked, else "Writing the output failed: ...".
[[noreturn]] void throwWriteError(int code);
