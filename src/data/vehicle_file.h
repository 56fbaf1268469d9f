// The vehicle file: one train's controller, brakes, traction, sounds and cab panel.
#pragma once

#include <string_view>
#include <vector>

#include "data/vehicle_spec.h"
#include "ports/picture.h"

namespace cabdrive {

// Reads folder + fileName (plain concatenation: the folder ends with its
// separator, or is empty for a file in the current directory). The picture
// strips are loaded through `pictures` from the same folder. Any failure
// throws LoadError("車両ファイルに誤りがあります" + the section label in
// force), and on the next line the file when it cannot be opened; a [Notch]
// list on a diesel or an [Engine] list on an electric train throws its own
// message.
VehicleSpec loadVehicle(std::string_view folder, std::string_view fileName, PictureLoader& pictures);

// The adjustments made once every data file is loaded. A file without cars,
// without a mass or without power notches is no train: it is refused with
// the vehicle message. An automatic air brake always has 4 brake positions;
// a notched brake needs at least 3, or
// LoadError("ブレーキの段数を3段以上に設定してください"). More than 11 brake or
// power notches is refused with the vehicle message, as the per-notch tables
// hold no more.
void checkVehicleAfterLoading(VehicleSpec& vehicle);

// The keys of a vehicle file in the order the loader tests them.
std::vector<std::string_view> vehicleFileKeys();

}  // namespace cabdrive
