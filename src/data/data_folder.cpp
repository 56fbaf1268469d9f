// Where a run's files are, and loading a route for a vehicle.
#include "data/data_folder.h"

#include "data/route_distances.h"
#include "data/route_file.h"

namespace cabdrive {
namespace {

std::string withTrailingSeparator(std::string folder)
{
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
        folder += '/';
    return folder;
}

}  // namespace

DataFolder locateDataFolder(const std::string& dataFolder, const std::string& vehicleFile)
{
    DataFolder located;
    located.programFolder = withTrailingSeparator(dataFolder);
    const std::string path = vehicleFile.empty() ? std::string(defaultTrainFile) : vehicleFile;
    const std::size_t cut = path.find_last_of("/\\");
    const std::string folder = cut == std::string::npos ? "" : path.substr(0, cut + 1);
    located.trainFileName = cut == std::string::npos ? path : path.substr(cut + 1);
    located.vehicleFolder = folder.starts_with('/') ? folder : located.programFolder + folder;
    return located;
}

std::size_t vehicleSoundChannels(const VehicleSpec& vehicle)
{
    return vehicle.driveSounds.size() + vehicle.engineSound1.size() + vehicle.engineSound3.size();
}

std::unique_ptr<RouteData> loadRouteFor(const DataFolder& folder, const std::string& routeFileName,
                                        const VehicleSpec& vehicle, PictureLoader& pictures)
{
    auto route = loadRoute(RouteSource{folder.programFolder, routeFileName, folder.trainFileName, vehicleSoundChannels(vehicle)}, pictures);
    deriveDistances(*route);
    return route;
}

}  // namespace cabdrive
