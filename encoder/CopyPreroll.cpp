#include "CopyPreroll.h"

#include <algorithm>

namespace {

// The most a frame's main data can begin before it (9 bits).
constexpr int MaxReservoirBytes = 511;

// How many frames before frames[at] hold the main data that frames[at] begins with; past the
// front when the frames given do not reach back far enough.
size_t reservoirFrames(const std::vector<PacketBytes>& frames, size_t at)
{
    const std::optional<Mp3Frame> frame = readMp3Frame(frames[at]);
    int reach = frame ? frame->mainDataBegin : MaxReservoirBytes;
    size_t count = 0;
    for (size_t back = at; reach > 0; --back) {
        ++count;
        if (back == 0)
            return count; // one more than there is
        const std::optional<Mp3Frame> earlier = readMp3Frame(frames[back - 1]);
        reach -= earlier ? earlier->mainDataBytes : frames[back - 1].size;
    }
    return count;
}

} // namespace

size_t packetsNeeded(Preroll preroll, const std::vector<PacketBytes>& before)
{
    switch (preroll) {
    case Preroll::None: return 1;
    case Preroll::OnePacket: return 2;
    case Preroll::Mp3Reservoir: {
        // The frame before the first asked one sets up the overlap and the synthesis filter; it
        // decodes only with its own reservoir. The first frame's reservoir lies within theirs.
        const size_t last = before.size() - 1;
        if (before.size() < 2)
            return 2;
        return std::max(1 + reservoirFrames(before, last), 2 + reservoirFrames(before, last - 1));
    }
    }
    return 1;
}

std::optional<Mp3Frame> readMp3Frame(const PacketBytes& packet)
{
    if (!packet.data || packet.size < 4)
        return std::nullopt;
    const uint8_t* p = packet.data;
    const bool sync = p[0] == 0xFF && (p[1] & 0xE0) == 0xE0;
    const int version = (p[1] >> 3) & 3; // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
    const int layer = (p[1] >> 1) & 3;   // 1: Layer III
    if (!sync || version == 1 || layer != 1)
        return std::nullopt;
    const bool crc = (p[1] & 1) == 0;
    const bool mono = (p[3] >> 6) == 3;
    const bool mpeg1 = version == 3;
    const int sideInfo = mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    const int at = 4 + (crc ? 2 : 0);
    if (packet.size < at + sideInfo)
        return std::nullopt;
    Mp3Frame frame;
    frame.mainDataBegin = mpeg1 ? (p[at] << 1 | p[at + 1] >> 7) : p[at];
    frame.mainDataBytes = packet.size - at - sideInfo;
    return frame;
}
