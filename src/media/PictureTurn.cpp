#include "media/PictureTurn.h"

#include <cmath>

int QuarterTurnsOf(double counterClockwise)
{
    if (!std::isfinite(counterClockwise))
        return 0;
    const double quarters = -counterClockwise / 90;
    const double whole = std::round(quarters);
    if (std::abs(quarters - whole) * 90 > 1)
        return 0;
    return ((static_cast<int>(std::fmod(whole, 4)) % 4) + 4) % 4;
}

QSize TurnedSize(QSize size, int quarterTurns)
{
    return quarterTurns % 2 != 0 ? size.transposed() : size;
}
