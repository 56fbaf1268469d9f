// The program-wide files of the demo data folder: the settings file
// cabdrive.dat, the controller map mascon.dat, the Help text operation.dat
// and the guide readme.html.
#pragma once

#include <string>
#include <vector>

#include "line_model.h"
#include "vehicle_writer.h"

namespace cabdrive::demo {

// The video folder the settings give; videos are written there.
inline constexpr const char* videoFolder = "video\\";

std::string settingsText();
std::string masconText();
std::string operationText();
std::string readmeHtml(const LineGeometry& downLine, const std::vector<VehicleEntry>& vehicles);

void writeSettingsFiles(const std::string& dataFolder, const LineGeometry& downLine, const std::vector<VehicleEntry>& vehicles);

}  // namespace cabdrive::demo
