// The sound channel layout: the running-sound bands first, then the route's
// environment sounds, the engine sound rows and the call-out channel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

#include "data/route_data.h"
#include "data/vehicle_spec.h"

namespace cabdrive {

// A channel beyond every device: commands to it do nothing, it never plays.
inline constexpr std::size_t noSoundChannel = std::numeric_limits<std::size_t>::max();

// A sound number of the vehicle file ([Sound_EB], [ATS_Warn], [Sound_BK] ...)
// as a channel. A file that leaves a sound out leaves its number 0; that is
// no sound, never the lowest running-sound band on channel 0.
inline std::size_t vehicleSound(std::int32_t number)
{
    return number <= 0 ? noSoundChannel : static_cast<std::size_t>(number);
}

// The sound of a per-notch list ([Sound_BK], [Sound_BA], [Sound_PA] ...) for
// notch k (brake position -k or power notch k); none beyond the list.
template <std::size_t Capacity>
std::size_t notchSound(const FixedTable<std::int32_t, Capacity>& sounds, std::int32_t k)
{
    if (k < 1 || static_cast<std::size_t>(k) > sounds.size())
        return noSoundChannel;
    return vehicleSound(sounds[static_cast<std::size_t>(k - 1)]);
}

// Running-sound band p ([DriveSound] entry p).
inline std::size_t runningSoundChannel(std::size_t band)
{
    return band;
}

// Route sound k (the k-th [SoundData] entry, from 0).
inline std::size_t environmentChannel(const VehicleSpec& vehicle, std::int32_t k)
{
    return vehicle.driveSounds.size() + static_cast<std::size_t>(k < 0 ? 0 : k);
}

// The motor sound of [EngineSound1] row j.
inline std::size_t engineSound1Channel(const VehicleSpec& vehicle, const RouteData& route, std::size_t j)
{
    return vehicle.driveSounds.size() + route.soundData.size() + j;
}

// The sound of [EngineSound3] row j.
inline std::size_t engineSound3Channel(const VehicleSpec& vehicle, const RouteData& route, std::size_t j)
{
    return engineSound1Channel(vehicle, route, vehicle.engineSound1.size()) + j;
}

// The one channel the call-out voices play on, after every loaded sound.
inline std::size_t calloutChannel(const VehicleSpec& vehicle, const RouteData& route)
{
    return engineSound3Channel(vehicle, route, vehicle.engineSound3.size());
}

// How many channels a run plays on: the call-out channel is the last.
inline std::size_t channelsInUse(const VehicleSpec& vehicle, const RouteData& route)
{
    return calloutChannel(vehicle, route) + 1;
}

}  // namespace cabdrive
