// Volumes in hundredths of a decibel.
#include "sound/sound_volume.h"

#include <algorithm>
#include <cmath>

namespace cabdrive {

std::int32_t volumeOfRatio(long double ratio, long double scale)
{
    if (!(ratio > 0) || !std::isfinite(ratio))
        return ratio > 0 ? fullVolume : silentVolume;
    // In double: exact enough for hundredths of a decibel, and several times
    // faster than extended precision, many times in every tick. Halves round
    // away from zero, as the system's rounding does (the level is 0 or below).
    const double level = std::clamp(static_cast<double>(scale) * std::log10(static_cast<double>(ratio)),
                                    static_cast<double>(silentVolume), static_cast<double>(fullVolume));
    return static_cast<std::int32_t>(level - 0.5);
}

}  // namespace cabdrive
