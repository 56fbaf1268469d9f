// The data folders that ship, loaded through the program's own picture
// decoder: the check fixtures' trains with their picture strips, and the demo
// line's whole cab panel and its notch strips.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include <map>
#include <string>

#include "data/data_folder.h"
#include "data/settings.h"
#include "data/vehicle_file.h"
#include "input/driver_keys.h"
#include "platform/qt/qimage_picture_loader.h"
#include "platform/qt/scene_renderer.h"
#include "sim/notch_words.h"
#include "support/built_run.h"
#include "support/qt_application.h"
#include "vehicle_writer.h"
#include "view/cab_panel_build.h"
#include "view/readout_texts.h"
#include "view/text_displays.h"

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
        ::test::BuiltRun built(CABDRIVE_DEMO_FOLDER, {v.path});
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

// Every readout of the view, with the longest texts the demo's trains and
// words can put there, ends before the next readout of its row and inside
// the view; the picture that stays at the right edge of the cab lies over no
// readout and not over the stop marker.
TEST(ReadoutsDemo, TheLongestTextsFitTheirPlacesAndNothingCoversThem)
{
    test::qtApplication();
    ::test::BuiltRun built(CABDRIVE_DEMO_FOLDER);
    cabdrive::Run& run = built.run;
    const Settings& words = run.settings;
    const auto info = [&words](std::size_t line) { return words.infoTexts.at(line); };
    std::map<std::string, std::vector<std::string>> longest = {
        {"reverser", {words.wordForward, words.wordNeutral, words.wordReverse}},
        {"power", {words.wordConstSpeed}},
        {"brake", {}},
        {"gear", {words.wordGear0, words.wordGear1, words.wordGearStem + "4"}},
        {"limit1", {info(2), "10km/h " + info(3) + "1000m", "110km/h " + info(4) + "1000m", "110km/h 照査まで1000m"}},
        {"limit2", {info(5) + "110km/h " + info(6) + ")", info(5) + "110km/h " + info(7) + ")"}},
        {"speed", {speedText(-120)}},
    };
    QImagePictureLoader pictures;
    for (const demo::VehicleEntry& v : demo::demoVehicles()) {
        const DataFolder folder = locateDataFolder(CABDRIVE_DEMO_FOLDER, v.path);
        VehicleSpec vehicle = loadVehicle(folder.vehicleFolder, folder.trainFileName, pictures);
        checkVehicleAfterLoading(vehicle);
        const NotchStripWords strips = notchStripWords(words, vehicle);
        longest["power"].insert(longest["power"].end(), strips.power.begin(), strips.power.end());
        longest["brake"].insert(longest["brake"].end(), strips.brake.begin(), strips.brake.end());
        for (const PowerModeRow& mode : vehicle.powerModes)
            longest["gear"].push_back(mode.gearText);
    }

    // Where the layout puts each readout, found by a text of its own.
    ControlState& c = run.state.controls;
    c.reverserText = "reverser";
    c.powerText = "power";
    c.brakeText = "brake";
    c.gearText = "gear";
    run.state.signals.limitText1 = "limit1";
    run.state.signals.limitText2 = "limit2";
    run.state.dynamics.trainSpeed = -120;
    run.options.Moji = 0;
    const TextDisplays layout = layoutTextDisplays(run, 0);
    const auto placeOf = [&layout](const std::string& text) -> const TextDisplay& {
        for (const TextDisplay& d : layout.readouts)
            if (d.text == text)
                return d;
        throw std::runtime_error("no readout " + text);
    };
    const Sprite& remain = *run.scene.sprite("img_unten_remain");
    const ScenePicture& remainPicture = *run.scene.picture("img_unten_remain");
    const auto uncovered = [&](int left, int top, int width, int height) {
        for (int y = std::max(top, 0); y < top + height; ++y)
            for (int x = std::max(left, static_cast<int>(remain.x)); x < std::min(left + width, static_cast<int>(remain.x) + remain.width); ++x)
                if (remainPicture.picture.pixel(x - static_cast<int>(remain.x), y - static_cast<int>(remain.y)) != remainPicture.transparentColour)
                    return false;
        return true;
    };
    const int shadow = textShadowOffset(words.viewWidth);
    for (const auto& [slot, texts] : longest) {
        const TextDisplay& place = placeOf(slot == "speed" ? speedText(-120) : slot);
        int end = words.viewWidth;  // the next readout of the row, or the view's edge
        for (const TextDisplay& other : layout.readouts)
            if (other.y == place.y && other.x > place.x)
                end = std::min(end, other.x);
        const QFontMetrics metrics(SceneRenderer::textFont(place.fontSize));
        for (const std::string& text : texts)
            EXPECT_LE(place.x + metrics.horizontalAdvance(QString::fromStdString(text)) + shadow, end) << slot << ": " << text;
        EXPECT_TRUE(uncovered(place.x, place.y, end - place.x, metrics.height() + shadow)) << slot;
    }
    const Sprite& marker = *run.scene.sprite("img_unten_teimoku");
    EXPECT_TRUE(uncovered(static_cast<int>(marker.x), static_cast<int>(marker.y), marker.width, marker.height));
}

}  // namespace
}  // namespace cabdrive
