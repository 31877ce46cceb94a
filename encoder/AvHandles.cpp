#include "AvHandles.h"
#include "Failure.h"

FramePtr allocFrame()
{
    FramePtr frame(av_frame_alloc());
    if (!frame)
        throw Failure("Out of memory");
    return frame;
}

PacketPtr allocPacket()
{
    PacketPtr packet(av_packet_alloc());
    if (!packet)
        throw Failure("Out of memory");
    return packet;
}
