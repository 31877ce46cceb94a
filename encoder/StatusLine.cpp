#include "StatusLine.h"

#include <cstdio>

std::string formatStatus(int64_t bytes, double seconds)
{
    char line[128];
    const double kilobytes = bytes / 1024.0;
    if (seconds > 0)
        std::snprintf(line, sizeof line, "size=%8.0fkB time=%.2f bitrate=%6.1fkbits/s", kilobytes, seconds,
                      bytes * 8.0 / seconds / 1000.0);
    else
        std::snprintf(line, sizeof line, "size=%8.0fkB time=%.2f bitrate=N/A", kilobytes, seconds);
    return line;
}

void StatusLine::maybePrint(int64_t bytes, double seconds)
{
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(500))
        return;
    last_ = now;
    std::printf("%s\n", formatStatus(bytes, seconds).c_str());
}

void StatusLine::printFinal(int64_t bytes, double seconds)
{
    std::printf("%s\n", formatStatus(bytes, seconds).c_str());
}

void printNotice(const std::string& text)
{
    std::printf("Notice: %s\n", text.c_str());
}

void printLine(const std::string& text)
{
    std::printf("%s\n", text.c_str());
}

std::string clockText(double seconds)
{
    const long whole = static_cast<long>(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
    return text;
}
