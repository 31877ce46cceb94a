#pragma once
// The sound as it is: with -keeporiginal, the chosen stream's packets of the cut go into the
// output without being decoded, when the output type holds the source's codec and nothing asked
// would change the sound (see CopyChoice.h).
#include "InputSource.h"
#include "Options.h"

// Prints the route line and, when the sound can be copied, writes and names the output and
// returns true. False when it must be encoded: then nothing is left behind, the input is back at
// its start and the last route line printed says why. A copy that fails after it began (a
// muxer that refuses a packet, time stamps that go back) ends so too. Throws Failure when the
// output cannot be written or a stop was asked.
bool copyAudio(const Options& options, InputSource& input);
