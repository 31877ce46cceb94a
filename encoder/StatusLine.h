#pragma once
#include <chrono>
#include <cstdint>
#include <string>

// Progress lines of the form "size=     123kB time=12.34 bitrate= 128.0kbits/s", about twice a second.
class StatusLine {
public:
    void maybePrint(int64_t bytes, double seconds);
    void printFinal(int64_t bytes, double seconds);

private:
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

std::string formatStatus(int64_t bytes, double seconds);

// One line for a value the encoder had to change.
void printNotice(const std::string& text);
// One line as it stands.
void printLine(const std::string& text);

// hh:mm:ss of whole seconds, for messages.
std::string clockText(double seconds);
