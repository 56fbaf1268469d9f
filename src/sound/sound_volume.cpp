// Volumes in hundredths of a decibel.
#include "sound/sound_volume.h"

#include <algorithm>
#include <cmath>

#include "common/rounding.h"

namespace cabdrive {

std::int32_t volumeOfRatio(long double ratio, long double scale)
{
    if (!(ratio > 0) || !std::isfinite(ratio))
        return ratio > 0 ? fullVolume : silentVolume;
    const std::int64_t volume = roundHalfAway(scale * std::log10(ratio));
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(volume, silentVolume, fullVolume));
}

}  // namespace cabdrive
