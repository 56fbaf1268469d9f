// Where a run's files are in a data folder, and loading them in the order the
// program does.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "data/route_data.h"
#include "data/vehicle_spec.h"

namespace cabdrive {

inline constexpr std::string_view defaultTrainFile = "train_E231_5B.dat";

struct DataFolder {
    std::string programFolder;  // with its trailing separator
    std::string vehicleFolder;  // with its trailing separator
    std::string trainFileName;
};

// A vehicle file is relative to the data folder unless given in full; an
// empty one is the default train.
DataFolder locateDataFolder(const std::string& dataFolder, const std::string& vehicleFile);

// Channels the vehicle's own sounds take before the route's.
std::size_t vehicleSoundChannels(const VehicleSpec& vehicle);

// Loads a route file of the folder for the vehicle and derives its distances.
std::unique_ptr<RouteData> loadRouteFor(const DataFolder& folder, const std::string& routeFileName,
                                        const VehicleSpec& vehicle, PictureLoader& pictures);

}  // namespace cabdrive
