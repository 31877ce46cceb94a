#pragma once
#include <stdexcept>
#include <string>

// A reason to stop encoding, worded for the user; the caller prints it as one line.
class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Text of a libav error code.
std::string avErrorText(int code);
