// The pitch a channel plays its wave at for the simulation's frequency ratio.
#pragma once

#include <algorithm>

namespace cabdrive {

// A ratio of 0 means the wave's own rate (as the sound layer's frequency 0
// always has); others are kept within the rates a channel can play.
inline double channelPitch(double ratio, int waveRate)
{
    constexpr double lowestFrequency = 100;      // Hz: slower waves play at this rate
    constexpr double highestFrequency = 200000;  // Hz
    if (ratio == 0 || waveRate <= 0)
        return 1.0;
    return std::clamp(ratio, lowestFrequency / waveRate, highestFrequency / waveRate);
}

}  // namespace cabdrive
