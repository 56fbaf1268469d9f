// The sound channel layout: the running-sound bands first, then the route's
// environment sounds, the engine sound rows and the call-out channel.
#pragma once

#include <cstddef>
#include <cstdint>

#include "data/route_data.h"
#include "data/vehicle_spec.h"

namespace cabdrive {

// Route sound k (the k-th [SoundData] entry, from 0).
inline std::size_t environmentChannel(const VehicleSpec& vehicle, std::int32_t k)
{
    return vehicle.driveSounds.size() + static_cast<std::size_t>(k < 0 ? 0 : k);
}

// The one channel the call-out voices play on, after every loaded sound.
inline std::size_t calloutChannel(const VehicleSpec& vehicle, const RouteData& route)
{
    return vehicle.driveSounds.size() + route.soundData.size() + vehicle.engineSound1.size() + vehicle.engineSound3.size();
}

}  // namespace cabdrive
