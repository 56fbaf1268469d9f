// The cab panel build: pictures, transparency, pattern cells, Z order and
// initial visibility of every sprite, and the messages of pictures that fail.
#include <gtest/gtest.h>

#include <map>

#include "common/load_error.h"
#include "data/data_folder.h"
#include "data/settings.h"
#include "data/vehicle_file.h"
#include "view/cab_panel_build.h"

namespace {

using namespace cabdrive;

constexpr std::uint32_t magenta = 0xFFFF00FF;
constexpr std::uint32_t grey = 0xFF808080;

Picture solid(int width, int height, std::uint32_t colour = grey)
{
    return Picture{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width * height), colour)};
}

// Pictures by file name, each a given picture; every request is recorded.
class PictureFiles : public PictureLoader {
public:
    void add(const std::string& name, Picture picture) { m_files[name] = std::move(picture); }
    std::optional<Picture> load(const std::filesystem::path& file) override
    {
        requested.push_back(file.string());
        const auto found = m_files.find(file.filename().string());
        if (found == m_files.end())
            return std::nullopt;
        return found->second;
    }
    std::vector<std::string> requested;

private:
    std::map<std::string, Picture> m_files;
};

class CabPanelBuild : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings.viewWidth = 800;
        settings.viewHeight = 600;
        folder.programFolder = "/line/";
        folder.vehicleFolder = "/line/train/";
    }
    StaffPictures build() { return buildCabPanel(scene, vehicle, route, settings, folder, pictures); }
    void givePanelPicture(PanelPicture& p, const std::string& file, int x, int y)
    {
        p = {file, x, y};
        pictures.add(file, solid(10, 10));
    }
    std::string failure()
    {
        try {
            build();
        } catch (const LoadError& e) {
            return e.what();
        }
        return "no error";
    }

    Settings settings;
    VehicleSpec vehicle;
    RouteData route;
    DataFolder folder;
    Scene scene;
    PictureFiles pictures;
};

TEST_F(CabPanelBuild, APictureIsTransparentByItsBottomLeftPixel)
{
    Picture lamp = solid(6, 4, grey);
    lamp.pixels[3 * 6] = magenta;  // (0, 3)
    lamp.pixels[0] = 0xFF00FF00;   // the top-left corner does not count
    pictures.add("door.bmp", lamp);
    vehicle.lampDoor = {"door.bmp", 30, 40};
    givePanelPicture(vehicle.panel, "panel.bmp", 0, 600);
    build();

    const ScenePicture* door = scene.picture("img_Lamp_Door");
    ASSERT_NE(door, nullptr);
    EXPECT_TRUE(door->transparent);
    EXPECT_EQ(door->transparentColour, magenta);
    EXPECT_FALSE(scene.picture("img_Panel")->transparent);
    EXPECT_EQ(pictures.requested.front(), "/line/train/panel.bmp");  // vehicle pictures from the vehicle folder
}

TEST_F(CabPanelBuild, EachCabPictureGetsItsSpriteKindPlaceAndZ)
{
    givePanelPicture(vehicle.panel, "panel.bmp", 0, 600);
    givePanelPicture(vehicle.panel2, "panel2.bmp", 5, 605);
    givePanelPicture(vehicle.lampGen, "gen.bmp", 100, 620);
    givePanelPicture(vehicle.lampAts1, "ats1.bmp", 110, 620);
    givePanelPicture(vehicle.lampBack, "back.bmp", 120, 620);
    givePanelPicture(vehicle.lampStop, "stop.bmp", 130, 620);
    givePanelPicture(vehicle.lampConst, "const.bmp", 140, 620);
    vehicle.needleSpeed.file = "speed.bmp";
    vehicle.needleSpeed.x = 200;
    vehicle.needleSpeed.y = 610;
    pictures.add("speed.bmp", solid(80, 80));
    vehicle.needleBcLinear = {"bar.bmp", 300, 700, 0.1L};
    pictures.add("bar.bmp", solid(12, 4));
    build();

    const Sprite* panel = scene.sprite("img_Panel");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->z, 0);
    EXPECT_EQ(panel->y, 600);
    const Sprite* panel2 = scene.sprite("img_Panel2");
    EXPECT_EQ(panel2->kind, SpriteKind::Extended);
    EXPECT_EQ(panel2->alpha, 0);
    EXPECT_TRUE(panel2->visible);
    EXPECT_EQ(panel2->z, 50);
    // Names are found without regard to case.
    ASSERT_NE(scene.sprite("img_lamp_gen"), nullptr);
    EXPECT_EQ(scene.sprite("img_lamp_gen")->z, 54);
    EXPECT_TRUE(scene.sprite("img_lamp_gen")->visible);
    for (const char* hidden : {"img_Lamp_Ats1", "img_Lamp_Bck", "img_Lamp_stopalert", "img_Lamp_const"})
        EXPECT_FALSE(scene.sprite(hidden)->visible) << hidden;

    const Sprite* needle = scene.sprite("img_Needle_speed");
    EXPECT_EQ(needle->kind, SpriteKind::Extended);
    EXPECT_EQ(needle->z, 64);
    EXPECT_EQ(needle->width, 80);
    EXPECT_TRUE(scene.picture("img_Needle_speed")->transparent);
    // A linear gauge is opaque and starts at the top: the render loop sets its Y.
    const Sprite* bar = scene.sprite("img_Needle_BC_L");
    EXPECT_EQ(bar->x, 300);
    EXPECT_EQ(bar->y, 0);
    EXPECT_EQ(bar->z, 23);
    EXPECT_FALSE(scene.picture("img_Needle_BC_L")->transparent);
}

TEST_F(CabPanelBuild, AnEmptyFileNameMakesNoPictureAndTheSignalLampsNone)
{
    givePanelPicture(vehicle.panel, "panel.bmp", 0, 600);
    givePanelPicture(vehicle.lampG, "g.bmp", 0, 0);
    givePanelPicture(vehicle.lampR, "r.bmp", 0, 0);
    build();
    EXPECT_EQ(scene.spriteCount(), 1u);
    EXPECT_EQ(scene.sprite("img_Lamp_EB"), nullptr);
    EXPECT_EQ(pictures.requested.size(), 1u);
}

TEST_F(CabPanelBuild, OtherPicturesDrawInListOrderBetweenThePanelAndTheNeedles)
{
    givePanelPicture(vehicle.panel, "panel.bmp", 0, 600);
    givePanelPicture(vehicle.lampPower, "power.bmp", 0, 600);
    vehicle.needleBp = {"bp.bmp", 0, 600, 0, 1};
    pictures.add("bp.bmp", solid(4, 4));
    for (int n = 0; n < 3; ++n) {
        PanelPicture other;
        givePanelPicture(other, "other" + std::to_string(n) + ".bmp", 10 * n, 620);
        ASSERT_TRUE(vehicle.otherPictures.add(other));
    }
    vehicle.otherPictures[1].file.clear();  // a row without a file is skipped
    build();

    std::vector<std::string> order;
    for (const Sprite* sprite : scene.spritesInDrawingOrder())
        order.push_back(sprite->name);
    EXPECT_EQ(order, (std::vector<std::string>{"img_Panel", "img_other0", "img_other2", "img_Lamp_Power", "img_Needle_BP"}));
    EXPECT_EQ(scene.sprite("img_other2")->z, 22);
    EXPECT_FALSE(scene.sprite("img_other0")->visible);
    EXPECT_EQ(scene.sprite("img_other2")->x, 20);
}

TEST_F(CabPanelBuild, StripsShowOnePatternCell)
{
    vehicle.notchImageP = {40, 620, 30, 20, "notch.bmp", solid(30, 100)};
    vehicle.gearImageList2 = {70, 620, 0, 0, "lever.bmp", solid(16, 16)};
    vehicle.digiSpeed = {90, 620, 24, 16, "", std::nullopt};  // no file: no strip
    build();

    const ScenePicture* notch = scene.picture("img_lamp_p");
    ASSERT_NE(notch, nullptr);
    EXPECT_EQ(notch->patternCount(), 5);
    EXPECT_TRUE(notch->transparent);
    const Sprite* notchSprite = scene.sprite("img_lamp_p");
    EXPECT_EQ(notchSprite->width, 30);
    EXPECT_EQ(notchSprite->height, 20);
    EXPECT_EQ(notchSprite->z, 31);
    // A strip without a cell size is one cell of its own size.
    EXPECT_EQ(scene.picture("img_gearlever")->patternCount(), 1);
    EXPECT_EQ(scene.sprite("img_gearlever")->z, 32);
    EXPECT_EQ(scene.sprite("img_digi_speed"), nullptr);
}

TEST_F(CabPanelBuild, RoutePicturesStandAtTheirPlacesOverTheView)
{
    auto& signs = route.signPictures.emplace();
    const int sizes[] = {64, 8, 8, 8, 48, 64, 32, 64};
    for (std::size_t k = 0; k < signs.size(); ++k)
        signs[k] = {"sign.bmp", sizes[k], solid(sizes[k] * 2, sizes[k])};
    auto& signals = route.signalPictures.emplace();
    for (std::size_t k = 0; k < signals.size(); ++k)
        signals[k] = {640, 150, 40, 100, "signal.bmp", solid(200, 100)};
    route.monitor.emplace();
    *route.monitor = {10, 10, 200, 60, "monitor.bmp", solid(200, 600)};
    build();

    const Sprite* marker = scene.sprite("img_unten_teimoku");
    EXPECT_EQ(marker->x, 736);
    EXPECT_EQ(marker->width, 64);
    EXPECT_EQ(scene.picture("img_unten_teimoku")->patternCount(), 2);
    const Sprite* line = scene.sprite("img_unten_teimokuM");
    EXPECT_EQ(line->kind, SpriteKind::Extended);
    EXPECT_EQ(line->width, 800);
    EXPECT_EQ(line->height, 8);
    EXPECT_EQ(line->alpha, 64);
    EXPECT_FALSE(scene.picture("img_unten_teimokuM")->transparent);
    EXPECT_EQ(scene.sprite("img_unten_slope")->x, 660);
    EXPECT_EQ(scene.sprite("img_unten_slope")->y, 330);
    EXPECT_EQ(scene.sprite("img_unten_limit")->y, 210);
    EXPECT_EQ(scene.sprite("img_unten_other")->y, 240);
    const Sprite* remain = scene.sprite("img_unten_remain");
    EXPECT_EQ(remain->x, 768);
    EXPECT_EQ(remain->height, 1200);
    EXPECT_EQ(scene.sprite("img_unten_signal")->width, 40);
    EXPECT_EQ(scene.picture("img_unten_signal")->patternCount(), 5);
    EXPECT_EQ(scene.sprite("img_unten_signal_S")->z, 101);
    EXPECT_EQ(scene.sprite("img_unten_signal_R")->z, 100);
    const Sprite* monitor = scene.sprite("img_mon");
    EXPECT_EQ(monitor->z, 51);
    EXPECT_EQ(monitor->height, 60);
    EXPECT_EQ(scene.picture("img_mon")->patternCount(), 10);
}

// Each list picture keys its own colour; the strip takes the first one's.
TEST_F(CabPanelBuild, WindowImageListsBecomeStripsOfEqualCellsKeyedAsOne)
{
    Picture first = solid(100, 75, magenta);
    first.pixels[0] = grey;
    Picture wide = solid(200, 75, 0xFF00FF00);  // green-keyed, two cells
    wide.pixels[150] = magenta;                 // a visible pixel of the key colour
    route.animPictures = {first, wide, Picture{}};
    route.crossPictures = {solid(60, 60, magenta), solid(40, 50, magenta)};
    build();

    const ScenePicture& anim = *scene.picture("img_unten_anim");
    EXPECT_EQ(anim.patternCount(), 4) << "a wide picture gives two cells, an unreadable one a blank cell";
    EXPECT_EQ(anim.patternWidth, 100);
    EXPECT_TRUE(anim.transparent);
    EXPECT_EQ(anim.transparentColour, magenta);
    EXPECT_EQ(anim.picture.pixel(0, 0), grey);
    EXPECT_EQ(anim.picture.pixel(100, 0), magenta) << "the second picture's key becomes the strip's";
    EXPECT_NE(anim.picture.pixel(250, 0), magenta) << "its visible magenta stays visible";
    EXPECT_EQ(scene.sprite("img_unten_anim")->pattern, 0);
    const ScenePicture& cross = *scene.picture("img_unten_cross");
    EXPECT_EQ(cross.patternCount(), 2);
    EXPECT_EQ(cross.patternWidth, 60) << "crossing cells are as large as the largest picture";
    EXPECT_EQ(scene.sprite("img_unten_traffic"), nullptr) << "no road lights, no sprite";
}

TEST_F(CabPanelBuild, APictureThatCannotBeMadeEndsTheBuildWithItsMessage)
{
    vehicle.lampFin = {"panel\\lamp_fin.bmp", 0, 0};
    EXPECT_EQ(failure(), "panel\\lamp_fin.bmpの生成エラー");

    pictures.add("lamp_fin.bmp", solid(4, 4));
    route.stafCardFile = "image\\staf.bmp";
    EXPECT_EQ(failure(), "image\\staf.bmpが見つかりません");
    pictures.add("staf.bmp", solid(200, 400));
    route.subDisplayFile = "image\\map.bmp";
    EXPECT_EQ(failure(), "image\\map.bmpが見つかりません");
}

TEST_F(CabPanelBuild, StaffPicturesComeFromTheProgramFolder)
{
    route.stafCardFile = "image\\staf.bmp";
    route.openingPictureFile = "image\\missing.bmp";
    pictures.add("staf.bmp", solid(200, 400));
    const StaffPictures staff = build();
    ASSERT_TRUE(staff.staffCard);
    EXPECT_EQ(staff.staffCard->height, 400);
    EXPECT_FALSE(staff.subDisplay);
    EXPECT_FALSE(staff.opening);  // missing: the view stays black before the start
    EXPECT_EQ(pictures.requested.front(), "/line/image/staf.bmp");
}

}  // namespace
