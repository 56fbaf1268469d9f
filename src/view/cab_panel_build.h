// The cab panel build: every picture of the cab view put into the scene with
// its sprite, made once while the main window is built.
#pragma once

#include <optional>

#include "data/data_folder.h"
#include "data/route_data.h"
#include "data/settings.h"
#include "data/vehicle_spec.h"
#include "ports/picture.h"
#include "state/scene.h"

namespace cabdrive {

// The route's [Staf] pictures, which the main window shows in controls of its
// own rather than on the cab surface.
struct StaffPictures {
    std::optional<Picture> staffCard;   // line 1; none when the line is empty
    std::optional<Picture> opening;     // line 2, shown before the start; none when empty or unreadable
    std::optional<Picture> subDisplay;  // line 3; none when the line is empty
};

// Adds to `scene` the pictures and sprites of the vehicle's picture strips and
// cab pictures (loaded from folder.vehicleFolder) and of the route's monitor,
// signs and signals (pictures the loaders already hold), then loads the staff
// pictures from folder.programFolder. Throws LoadError with the user's message:
// a cab picture that cannot be loaded gives its file name + "の生成エラー", a
// staff card or sub-display picture its file name + "が見つかりません".
StaffPictures buildCabPanel(Scene& scene, const VehicleSpec& vehicle, const RouteData& route,
                            const Settings& settings, const DataFolder& folder, PictureLoader& pictures);

}  // namespace cabdrive
