// The data folders that ship, loaded through the program's own picture
// decoder: the check fixtures' trains with their picture strips, and the demo
// line's whole cab panel and its notch strips.
#include <gtest/gtest.h>

#include <string>

#include "data/data_folder.h"
#include "data/settings.h"
#include "data/vehicle_file.h"
#include "input/driver_keys.h"
#include "platform/qt/qimage_picture_loader.h"
#include "sim/notch_words.h"
#include "support/built_run.h"
#include "vehicle_writer.h"
#include "view/cab_panel_build.h"

namespace cabdrive {
namespace {

TEST(VehicleFile, ShippedCheckFolderTrainsLoadWithTheirPictures)
{
    QImagePictureLoader pictures;
    VehicleSpec electric = loadVehicle(std::string(CABDRIVE_TEST_DATA) + "/check/", "train_E231_5B.dat", pictures);
    checkVehicleAfterLoading(electric);
    EXPECT_EQ(electric.brakeNotches, 8);
    EXPECT_EQ(electric.notchTable.size(), 4u);  // one row per power notch
    EXPECT_EQ(electric.groupStart.size(), 2u);
    EXPECT_EQ(electric.groupStart[1], 2);
    ASSERT_TRUE(electric.notchImageB.picture);
    EXPECT_EQ(electric.notchImageB.picture->width, 9 * electric.notchImageB.patternWidth);
    ASSERT_TRUE(electric.lampSignal.picture);
    EXPECT_EQ(electric.lampSignal.picture->width, 6 * electric.lampSignal.patternWidth);

    VehicleSpec diesel = loadVehicle(std::string(CABDRIVE_TEST_DATA) + "/check/diesel/", "kiha.dat", pictures);
    checkVehicleAfterLoading(diesel);
    EXPECT_EQ(diesel.engineType, 0);
    EXPECT_EQ(diesel.brakeNotches, 4);
    EXPECT_EQ(diesel.gearType, 1);
    EXPECT_EQ(diesel.engineTable.size(), 4u);
    EXPECT_EQ(diesel.engineRates.size(), 4u);
}

TEST(CabPanelBuildDemo, TheDemoTrainAndLineBuildTheirWholePanel)
{
    QImagePictureLoader pictures;
    const DataFolder folder = locateDataFolder(CABDRIVE_DEMO_FOLDER, "");
    const Settings settings = loadSettings(folder.programFolder);
    VehicleSpec vehicle = loadVehicle(folder.vehicleFolder, folder.trainFileName, pictures);
    const auto route = loadRouteFor(folder, "line_down.dat", vehicle, pictures);
    Scene scene;
    const StaffPictures staff = buildCabPanel(scene, vehicle, *route, settings, folder, pictures);

    EXPECT_TRUE(staff.staffCard);
    EXPECT_TRUE(staff.opening);
    EXPECT_TRUE(staff.subDisplay);
    for (const char* name : {"img_Panel", "img_Lamp_Door", "img_Needle_speed", "img_Needle_BC_L", "img_lamp_p",
                             "img_mon", "img_unten_teimoku", "img_unten_signal", "img_other1"})
        EXPECT_NE(scene.sprite(name), nullptr) << name;
    // The signal lamps make no sprite; the panel lies under everything.
    EXPECT_EQ(scene.sprite("img_Lamp_G"), nullptr);
    EXPECT_EQ(scene.spritesInDrawingOrder().front()->name, "img_Panel");
    EXPECT_EQ(scene.sprite("img_Panel")->y, vehicle.panel.y);
    EXPECT_TRUE(scene.picture("img_Needle_speed")->transparent);
}

// The strips' cells are drawn from the program's own notch words; at every
// handle position the keys reach, the cell shown must carry the readout's word.
TEST(NotchStripsDemo, EveryHandlePositionShowsTheCellOfTheReadoutsWord)
{
    for (const demo::VehicleEntry& v : demo::demoVehicles()) {
        test::BuiltRun built(CABDRIVE_DEMO_FOLDER, {v.path});
        cabdrive::Run& run = built.run;
        const NotchStripWords words = notchStripWords(run.settings, run.vehicle);
        ASSERT_EQ(run.scene.patternCount("img_lamp_b"), static_cast<int>(words.brake.size())) << v.path;
        ASSERT_EQ(run.scene.patternCount("img_lamp_p"), static_cast<int>(words.power.size())) << v.path;
        const auto shown = [&run](const char* strip, const std::vector<std::string>& cells) {
            return cells.at(static_cast<std::size_t>(run.scene.sprite(strip)->pattern));
        };
        const auto press = [&](char key) {
            AsciiDown(run, key);
            const ControlState& c = run.state.controls;
            EXPECT_EQ(shown("img_lamp_b", words.brake), c.brakeText) << v.path << " B" << c.brakeHandle << " after " << key;
            EXPECT_EQ(shown("img_lamp_p", words.power), c.powerText) << v.path << " P" << c.powerHandle << " after " << key;
        };
        // Emergency, then one step at a time through the brake notches, the
        // holding position and the power notches, back again, and the notches
        // of every further power mode.
        const int steps = run.vehicle.brakeNotches + run.vehicle.powerNotches + 3;
        press('0');
        for (int k = 0; k < steps; ++k)
            press('8');
        for (int k = 0; k < steps; ++k)
            press('2');
        for (std::size_t mode = 1; mode < run.vehicle.powerModes.size(); ++mode) {
            press('5');
            press('9');
            for (int k = 0; k < run.vehicle.powerNotches; ++k)
                press('8');
            EXPECT_EQ(run.state.controls.powerMode, static_cast<std::int32_t>(mode)) << v.path;
        }
    }
}

}  // namespace
}  // namespace cabdrive
