#pragma once
// What the LAME tag at the head of an MP3 file tells decoders to drop at each end, for a copied
// cut, and how the muxer is told.
#include "AvHandles.h"

#include <cstdint>

// Of the samples a copy holds before the cut, how many the tag can hide; 0 for none.
int64_t lameStartSkip(int64_t before);
// Of the samples the last packet holds past the cut, how many the tag can hide; 0 for none.
int64_t lameEndSkip(int64_t after);

// The MP3 muxer takes what its LAME tag says from the samples a packet asks a decoder to skip, as
// an encoder hands them over: at the start on the first packet, at the end on the last.
void markLameTag(AVPacket& packet, int64_t startSkip, int64_t endSkip);
