// Volumes in hundredths of a decibel, as the running sounds compute them.
#pragma once

#include <cstdint>

namespace cabdrive {

inline constexpr std::int32_t fullVolume = 0;        // 1/100 dB
inline constexpr std::int32_t silentVolume = -10000;  // 1/100 dB

// round(scale x log10(ratio)), the system's rounding, kept within silent ..
// full: a ratio of 0 or below (or one a bad data value made infinite) is
// silence, one above 1 full volume.
std::int32_t volumeOfRatio(long double ratio, long double scale = 2000);

// A percentage: 100 full, 1 is -40 dB.
inline std::int32_t volumeOfPercent(long double percent)
{
    return volumeOfRatio(percent / 100);
}

}  // namespace cabdrive
