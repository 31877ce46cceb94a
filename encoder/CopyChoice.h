#pragma once
// Whether -keeporiginal copies the sound or encodes it, and how a copied cut is made for each
// output type that can hold the sound as it is.
#include "InputSource.h"
#include "Options.h"

#include <string>

// What a decoder needs before the packet that holds a cut's first sample, so that the sample
// comes out as it does when the whole file is decoded.
enum class Preroll {
    None,         // PCM
    OnePacket,    // the packet before: AAC and AC3 overlap it, Vorbis primes with it
    Mp3Reservoir, // the frame before, and the frames whose bit reservoir it and the first use
};

// How the edges of a copied cut are kept.
enum class CutEdges {
    Packets,  // whole packets around the asked times
    EditList, // whole packets; the file's edit list shows the exact cut
    Granules, // whole packets; the Ogg granule positions tell the decoder to drop the rest
    LameTag,  // whole packets; the MP3 file's LAME tag gives the samples to drop at each end
    Samples,  // PCM: cut at the exact sample
};

// An output container that takes a codec's packets as they are.
struct CopyableType {
    const char* muxer;
    AVCodecID codec;
    Preroll preroll;
    CutEdges edges;
};

// Which way the sound goes, and why, in a few words.
struct CopyChoice {
    bool copy = false;
    std::string reason; // copied: the codec ("aac"); re-encoded: what needs it ("volume 150%")
    const CopyableType* type = nullptr; // when copied
};

// Copies when the output type holds the source's codec and neither the volume nor loudness
// normalisation changes the sound. A quality's -ab, -ar and -ac are for encoding only and do
// not stop a copy; those named by -explicit do. Throws Failure for an output type it does not know.
CopyChoice chooseCopy(const Options& options, const InputSource& input);

// "audio: copied (aac)" or "audio: re-encoded (volume 150%)": the line the program reads. When
// a copy fails after it began, a second line gives the way it went after all.
std::string routeLine(const CopyChoice& choice);
