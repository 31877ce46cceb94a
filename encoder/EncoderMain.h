#pragma once

// The whole command: parses argv, converts, prints one error line on failure. Returns the exit status.
// With scriptInput an input ending in ".avs" is the one-line script naming the real source.
int runEncoder(int argc, char** argv, bool scriptInput);
