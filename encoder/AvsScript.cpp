#include "AvsScript.h"
#include "Failure.h"

#include <fstream>
#include <iterator>

// The path runs from the call's opening quote to the last quote of the script: the text after
// the path (", fps=..., convertfps=true)" and the line end) holds no quote, so quotes, blanks,
// parentheses and line ends inside a file name are all part of it.
std::string mediaPathFromScriptText(const std::string& text)
{
    static const std::string call = "DirectShowSource(";
    const auto callAt = text.find(call);
    if (callAt == std::string::npos)
        throw Failure("The script names no source: DirectShowSource(\"...\") is missing");
    const auto open = text.find_first_not_of(" \t", callAt + call.size());
    if (open == std::string::npos || text[open] != '"')
        throw Failure("The script's DirectShowSource call has no quoted path");
    const auto close = text.rfind('"');
    if (close == open || close == open + 1)
        throw Failure("The script's DirectShowSource call has no complete quoted path");
    return text.substr(open + 1, close - open - 1);
}

std::string mediaPathFromScript(const std::string& scriptPath)
{
    std::ifstream in(scriptPath, std::ios::binary);
    if (!in)
        throw Failure("Input file not found or not readable: " + scriptPath);
    std::string text;
    text.reserve(4096);
    std::istreambuf_iterator<char> it(in), end;
    for (size_t n = 0; it != end && n < 65536; ++it, ++n)
        text.push_back(*it);
    return mediaPathFromScriptText(text);
}
