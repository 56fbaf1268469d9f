// The cab panel build: the pictures and sprites of the cab view.
#include "view/cab_panel_build.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "common/load_error.h"
#include "common/paths.h"
#include "view/image_list.h"
#include "view/text_displays.h"

namespace cabdrive {
namespace {

// One picture of the vehicle's panel: where its file comes from and how its
// sprite starts.
struct CabPicture {
    std::string name;
    const std::string& file;
    std::int32_t x = 0;  // px
    std::int32_t y = 0;  // px
    bool transparent = true;
    SpriteKind kind = SpriteKind::Plain;
    int z = 0;
    bool visible = true;
    int alpha = 255;
};

CabPicture lamp(std::string name, const PanelPicture& p, int z, bool visible = true)
{
    return {std::move(name), p.file, p.x, p.y, true, SpriteKind::Plain, z, visible};
}

CabPicture needle(std::string name, const NeedleLayout& n, int z)
{
    return {std::move(name), n.file, n.x, n.y, true, SpriteKind::Extended, z, true};
}

// The render loop moves a linear gauge up and down from its base Y.
CabPicture linearGauge(std::string name, const LinearGaugeLayout& g, int z)
{
    return {std::move(name), g.file, g.x, 0, false, SpriteKind::Extended, z, true};
}

// The cab pictures in the order they are made; equal Z values draw in this order.
std::vector<CabPicture> cabPictures(const VehicleSpec& v)
{
    std::vector<CabPicture> list = {
        {"img_Panel", v.panel.file, v.panel.x, v.panel.y, false, SpriteKind::Plain, 0, true},
        // The second panel starts invisible; the route's events may fade it in.
        {"img_Panel2", v.panel2.file, v.panel2.x, v.panel2.y, true, SpriteKind::Extended, 50, true, 0},
        lamp("img_Lamp_Door", v.lampDoor, 49),
        lamp("img_Lamp_Power", v.lampPower, 52),
        lamp("img_Lamp_EB", v.lampEb, 53),
        lamp("img_Lamp_Gen", v.lampGen, 54),
        lamp("img_Lamp_Air", v.lampAir, 54),
        lamp("img_Lamp_fin", v.lampFin, 55),
        lamp("img_Lamp_Ele", v.lampEle, 26),
        lamp("img_Lamp_Ats1", v.lampAts1, 57, false),
        lamp("img_Lamp_Ats2", v.lampAts2, 58, false),
        lamp("img_Lamp_Atsp1", v.lampAtsp1, 59, false),
        lamp("img_Lamp_Atsp2", v.lampAtsp2, 60, false),
        lamp("img_Lamp_Fwd", v.lampFwd, 11),
        lamp("img_Lamp_Bck", v.lampBack, 12, false),
        lamp("img_Lamp_stopalert", v.lampStop, 63, false),
        needle("img_Needle_speed", v.needleSpeed, 64),
        needle("img_Needle_ER", v.needleEr, 66),
        needle("img_Needle_BP", v.needleBp, 68),
        needle("img_Needle_MR", v.needleMr, 65),
        needle("img_Needle_SAP", v.needleSap, 69),
        needle("img_Needle_BC", v.needleBc, 67),
        needle("img_Needle_V", v.needleV, 70),
        needle("img_Needle_I", v.needleI, 71),
        lamp("img_Lamp_const", v.lampConst, 72, false),
        linearGauge("img_Needle_BC_L", v.needleBcLinear, 23),
        linearGauge("img_Needle_MR_L", v.needleMrLinear, 24),
    };
    // Below the needles and lamps, above the panel, in list order; shown by the route's events.
    for (std::size_t n = 0; n < v.otherPictures.size(); ++n) {
        const PanelPicture& other = v.otherPictures[n];
        list.push_back(lamp("img_other" + std::to_string(n), other, 20 + static_cast<int>(n), false));
    }
    return list;
}

void makeCabPicture(Scene& scene, const CabPicture& p, const std::string& vehicleFolder, PictureLoader& pictures)
{
    if (p.file.empty())
        return;
    auto picture = loadDataPicture(pictures, joinPath(vehicleFolder, p.file));
    if (!picture)
        throw LoadError(p.file + "の生成エラー");
    ScenePicture& entry = scene.addPicture(p.name, std::move(*picture));
    if (p.transparent)
        entry.keyByBottomLeftPixel();
    Sprite& sprite = scene.addSprite(p.name, p.kind, p.x, p.y, p.z);
    sprite.visible = p.visible;
    sprite.alpha = p.alpha;
}

// The strips' pictures were loaded with the vehicle file; a strip shows one
// pattern cell at a time.
void makeStrips(Scene& scene, const VehicleSpec& v)
{
    struct Strip {
        std::string_view name;
        const PictureStrip& strip;
        int z;
    };
    const std::array<Strip, 8> strips = {{
        {"img_cabsignal", v.lampSignal, 30},
        {"img_lamp_p", v.notchImageP, 31},
        {"img_lamp_b", v.notchImageB, 32},
        {"img_lamp_p2", v.notchImageP2, 36},
        {"img_lamp_b2", v.notchImageB2, 34},
        {"img_lamp_gear", v.gearImageList, 35},
        {"img_gearlever", v.gearImageList2, 32},
        {"img_digi_speed", v.digiSpeed, 37},
    }};
    for (const Strip& s : strips) {
        if (!s.strip.picture)
            continue;
        ScenePicture& entry = scene.addPicture(std::string(s.name), *s.strip.picture);
        entry.keyByBottomLeftPixel();
        // A cell size of 0 would give no cell at all; the whole picture is one cell then.
        if (s.strip.patternWidth > 0)
            entry.patternWidth = s.strip.patternWidth;
        if (s.strip.patternHeight > 0)
            entry.patternHeight = s.strip.patternHeight;
        scene.addSprite(s.name, SpriteKind::Plain, s.strip.x, s.strip.y, s.z);
    }
}

// A route picture of the size x size kind: one cell of that size.
ScenePicture& addSquareCells(Scene& scene, std::string_view name, const SignPicture& sign)
{
    ScenePicture& entry = scene.addPicture(std::string(name), sign.picture);
    entry.keyByBottomLeftPixel();
    entry.patternWidth = sign.size;
    entry.patternHeight = sign.size;
    return entry;
}

void makeSigns(Scene& scene, const std::array<SignPicture, signPictureCount>& signs, const Settings& settings)
{
    const std::int32_t w = settings.viewWidth;
    const std::int32_t h = settings.viewHeight;
    constexpr int z = 100;

    addSquareCells(scene, "img_unten_teimoku", signs[0]);
    scene.addSprite("img_unten_teimoku", SpriteKind::Plain, w - signs[0].size, 0, z);

    // The stop-position lines are stretched across the view and half see-through.
    constexpr std::array<std::string_view, 3> stopLines = {"img_unten_teimokuS", "img_unten_teimokuM", "img_unten_teimokuE"};
    for (std::size_t k = 0; k < stopLines.size(); ++k) {
        const SignPicture& line = signs[1 + k];
        scene.addPicture(std::string(stopLines[k]), line.picture);
        Sprite& sprite = scene.addSprite(stopLines[k], SpriteKind::Extended, 0, 0, z);
        sprite.width = w;
        sprite.height = line.size;
        sprite.alpha = 64;
    }

    addSquareCells(scene, "img_unten_slope", signs[4]);
    scene.addSprite("img_unten_slope", SpriteKind::Plain, viewFraction(w, 0.825L), viewFraction(h, 0.55L), z);
    addSquareCells(scene, "img_unten_limit", signs[5]);
    scene.addSprite("img_unten_limit", SpriteKind::Plain, viewFraction(w, 0.825L), viewFraction(h, 0.35L), z);

    // The remaining-distance bar is keyed like every other sign: an opaque bar
    // the height of two views would hide the right edge of the view.
    ScenePicture& remain = addSquareCells(scene, "img_unten_remain", signs[6]);
    remain.patternHeight = 2 * h;
    scene.addSprite("img_unten_remain", SpriteKind::Plain, w - signs[6].size, 0, z);

    addSquareCells(scene, "img_unten_other", signs[7]);
    scene.addSprite("img_unten_other", SpriteKind::Plain, 0, viewFraction(h, 0.4L), z);
}

// The signal drawings stand at (0, 0) until the signal logic places them.
void makeSignals(Scene& scene, const std::array<SignalPicture, signalPictureCount>& signals)
{
    constexpr std::array<std::string_view, signalPictureCount> names = {
        "img_unten_signal", "img_unten_signal_S", "img_unten_signal_L", "img_unten_signal_R"};
    for (std::size_t k = 0; k < names.size(); ++k) {
        ScenePicture& entry = scene.addPicture(std::string(names[k]), signals[k].picture);
        entry.keyByBottomLeftPixel();
        entry.patternWidth = signals[k].width;
        entry.patternHeight = signals[k].height;
        scene.addSprite(names[k], SpriteKind::Plain, 0, 0, names[k] == "img_unten_signal_S" ? 101 : 100);
    }
}

// The route's window image lists become sprites over the view, keyed like the
// signs, each showing cell 0 (blank in the lists' convention) until the tick
// finds its rows in view: the animation in the left middle, the crossing
// board below the other signs on the left, the road light and its second
// light on the left under the monitor.
void makeWindowImageLists(Scene& scene, const RouteData& route, const Settings& settings)
{
    constexpr int listCellWidth = 100, listCellHeight = 75;  // px of the animation and road light cells
    const std::int32_t w = settings.viewWidth;
    const std::int32_t h = settings.viewHeight;
    const auto make = [&scene](std::string_view name, Picture strip, int cellWidth, int cellHeight, int x, int y) {
        if (strip.width <= 0)
            return;
        ScenePicture& entry = scene.addPicture(std::string(name), std::move(strip));
        entry.keyByBottomLeftPixel();
        entry.patternWidth = cellWidth;
        entry.patternHeight = cellHeight;
        scene.addSprite(name, SpriteKind::Plain, x, y, 100);
    };
    make("img_unten_anim", imageListStrip(route.animPictures, listCellWidth, listCellHeight), listCellWidth,
         listCellHeight, viewFraction(w, 0.1L), viewFraction(h, 0.3L));
    Picture crossings = imageListStripOfOwnSizes(route.crossPictures);
    const int crossingWidth = route.crossPictures.empty() ? 0 : crossings.width / static_cast<int>(route.crossPictures.size());
    const int crossingHeight = crossings.height;
    make("img_unten_cross", std::move(crossings), crossingWidth, crossingHeight, 0, viewFraction(h, 0.55L));
    for (const auto& [name, top] : {std::pair{std::string_view("img_unten_traffic"), 0.15L},
                                   std::pair{std::string_view("img_unten_traffic2"), 0.275L}}) {
        make(name, imageListStrip(route.trafficSignalPictures, listCellWidth, listCellHeight), listCellWidth,
             listCellHeight, viewFraction(w, 0.05L), viewFraction(h, top));
    }
}

void makeMonitor(Scene& scene, const MonitorPicture& monitor)
{
    if (!monitor.picture)
        return;
    ScenePicture& entry = scene.addPicture("img_mon", *monitor.picture);
    entry.keyByBottomLeftPixel();
    entry.patternWidth = monitor.patternWidth;
    entry.patternHeight = monitor.patternHeight;
    scene.addSprite("img_mon", SpriteKind::Plain, monitor.x, monitor.y, 51);
}

// A staff picture named in the route must load; an empty line means none.
std::optional<Picture> requiredStaffPicture(const std::string& file, const DataFolder& folder, PictureLoader& pictures)
{
    if (file.empty())
        return std::nullopt;
    auto picture = loadDataPicture(pictures, joinPath(folder.programFolder, file));
    if (!picture)
        throw LoadError(file + "が見つかりません");
    return picture;
}

StaffPictures loadStaffPictures(const RouteData& route, const DataFolder& folder, PictureLoader& pictures)
{
    StaffPictures staff;
    staff.staffCard = requiredStaffPicture(route.stafCardFile, folder, pictures);
    staff.subDisplay = requiredStaffPicture(route.subDisplayFile, folder, pictures);
    // The opening picture is only a courtesy before the start: without it the view stays black.
    if (!route.openingPictureFile.empty())
        staff.opening = loadDataPicture(pictures, joinPath(folder.programFolder, route.openingPictureFile));
    return staff;
}

}  // namespace

StaffPictures buildCabPanel(Scene& scene, const VehicleSpec& vehicle, const RouteData& route,
                            const Settings& settings, const DataFolder& folder, PictureLoader& pictures)
{
    // The strips and the route's pictures were made while their files were read, before the cab.
    makeStrips(scene, vehicle);
    if (route.monitor)
        makeMonitor(scene, *route.monitor);
    if (route.signPictures)
        makeSigns(scene, *route.signPictures, settings);
    if (route.signalPictures)
        makeSignals(scene, *route.signalPictures);
    makeWindowImageLists(scene, route, settings);
    for (const CabPicture& picture : cabPictures(vehicle))
        makeCabPicture(scene, picture, folder.vehicleFolder, pictures);
    return loadStaffPictures(route, folder, pictures);
}

}  // namespace cabdrive
