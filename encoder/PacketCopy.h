#pragma once
// The sound as it is: with -keeporiginal, the chosen stream's packets of the cut go into the
// output without being decoded, when the output type holds the source's codec and nothing asked
// would change the sound.
#include "InputSource.h"
#include "Options.h"

#include <string>

// Which way the sound goes, and why, in a few words.
struct CopyChoice {
    bool copy = false;
    std::string reason; // copied: the codec ("aac"); re-encoded: what needs it ("volume 150%")
};

// Copies when the output's codec is the source's (AAC in .aac and .m4a, MP3, AC3, Vorbis in .ogg,
// 16-bit PCM in .wav) and -vol is 100, -ac and -ar are absent or the source's own. The bit rate
// does not change the sound and is ignored. Throws Failure for an output type it does not know.
CopyChoice chooseCopy(const Options& options, const InputSource& input);

// "audio: copied (aac)" or "audio: re-encoded (volume 150%)": the line the program reads.
std::string routeLine(const CopyChoice& choice);

// Prints the route line and, when the sound can be copied, writes and names the output and
// returns true. False when it must be encoded: then nothing is left behind and the input is back
// at its start. Throws Failure when copying fails.
bool copyAudio(const Options& options, InputSource& input);
