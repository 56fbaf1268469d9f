// The demo line's three vehicle files, with their cab panels and their own
// sounds (running-sound bands, motor and engine sounds).
#pragma once

#include <string>
#include <vector>

#include "sound_catalogue.h"

namespace cabdrive::demo {

struct VehicleEntry {
    std::string path;  // relative to the data folder: folder (with backslash) and file name
    std::string summary;
};

// The default train first.
std::vector<VehicleEntry> demoVehicles();

// Writes every vehicle file and panel picture under dataFolder and adds the
// vehicles' own sounds to the catalogue. The settings file must be there
// already: the notch strips show its words. Single sounds (horn, doors, air...)
// are the route's environment sounds, named by their channels (envChannel).
void writeVehicles(const std::string& dataFolder, SoundCatalogue& catalogue);

}  // namespace cabdrive::demo
