#pragma once
#include <string>

// The media path named in a one-line script of the form
//   DirectShowSource("PATH", fps=29.9700898503294, convertfps=true)
// PATH may hold any character a file name can: it ends at the script's last double quote.
// Throws Failure when the script cannot be read or names no path.
std::string mediaPathFromScript(const std::string& scriptPath);

// The same, from the script's text.
std::string mediaPathFromScriptText(const std::string& text);
