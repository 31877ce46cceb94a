#pragma once
// How many packets before a copied cut's start a decoder needs.
#include "CopyChoice.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The most packets kept while looking for a cut's start: more than any codec's preroll needs.
constexpr size_t MaxPrerollPackets = 16;

// A packet's bytes, as the preroll rules look at them.
struct PacketBytes {
    const uint8_t* data = nullptr;
    int size = 0;
};

// Of `before` (the packets that begin at or before a cut's start, oldest first, the one holding
// the start last), how many from its end a decoder needs to give the start as in the whole file.
// More than before.size() when the packets given do not reach back far enough.
size_t packetsNeeded(Preroll preroll, const std::vector<PacketBytes>& before);

// An MP3 frame's place in the bit reservoir: how far back its main data begins, and how many bytes
// of main data it carries itself. Nothing when the bytes are not a Layer III frame.
struct Mp3Frame {
    int mainDataBegin = 0;
    int mainDataBytes = 0;
};
std::optional<Mp3Frame> readMp3Frame(const PacketBytes& packet);
