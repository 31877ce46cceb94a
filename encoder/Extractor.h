#pragma once
#include "Options.h"

// Converts the audio of options.input into options.output. Throws Failure on any error, after which
// nothing is left under the output name.
void extractAudio(const Options& options);
