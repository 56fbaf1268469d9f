// The demo line: the generated folder loads with every vehicle, exercises every
// key of the formats, and agrees with itself (videos, distances, directions);
// and the rules of the line model it is made from.
#include <gtest/gtest.h>

extern "C" {
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "cab_panel_painter.h"
#include "common/paths.h"
#include "common/text_encoding.h"
#include "data/route_distances.h"
#include "data/route_file.h"
#include "data/settings.h"
#include "data/vehicle_file.h"
#include "data_folder_check.h"
#include "data_text_file.h"
#include "line_model.h"
#include "platform/qt/qimage_picture_loader.h"
#include "route_writer.h"
#include "settings_writer.h"
#include "sound_catalogue.h"
#include "support/temp_folder.h"
#include "vehicle_writer.h"
#include "video_writer.h"

namespace cabdrive {
namespace {

namespace fs = std::filesystem;
using namespace demo;

const std::string demoFolder = std::string(CABDRIVE_DEMO_FOLDER) + "/";

std::string readBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string readText(const std::string& dataPath)
{
    return decodeDataText(readBytes(resolveDataPath(demoFolder + dataPath)));
}

std::unique_ptr<RouteData> loadDemoRoute(const std::string& file, const std::string& train = defaultTrainFile)
{
    QImagePictureLoader pictures;
    auto route = loadRoute(RouteSource{demoFolder, file, train, 0}, pictures);
    deriveDistances(*route);
    return route;
}

VehicleSpec loadDemoVehicle(const std::string& path)
{
    QImagePictureLoader pictures;
    const std::size_t cut = path.find_last_of('\\');
    const std::string folder = cut == std::string::npos ? "" : path.substr(0, cut + 1);
    return loadVehicle(demoFolder + folder, path.substr(folder.size()), pictures);
}

// True when some line of the text starts with the key.
bool hasKeyLine(const std::string& text, std::string_view key)
{
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (line.starts_with(key))
            return true;
    return false;
}

TEST(DemoLine, CheckAcceptsTheFolderWithEachVehicle)
{
    const std::vector<VehicleEntry> vehicles = demoVehicles();
    ASSERT_EQ(vehicles.size(), 3u);
    EXPECT_EQ(vehicles.front().path, "train_E231_5B.dat");
    for (const VehicleEntry& v : vehicles) {
        QImagePictureLoader pictures;
        std::ostringstream out, err;
        EXPECT_EQ(checkDataFolder(demoFolder, v.path == defaultTrainFile ? "" : v.path, pictures, out, err), 0)
            << v.path << ": " << err.str();
        EXPECT_EQ(err.str(), "") << v.path;
    }
}

TEST(DemoLine, EveryKeyOfTheFormatsAppearsInAGeneratedFile)
{
    const std::string settings = readText("cabdrive.dat");
    for (const std::string_view key : settingsFileKeys())
        EXPECT_TRUE(hasKeyLine(settings, key)) << "cabdrive.dat lacks " << key;

    std::string vehicles;
    for (const VehicleEntry& v : demoVehicles())
        vehicles += readText(v.path);
    for (const std::string_view key : vehicleFileKeys())
        EXPECT_TRUE(hasKeyLine(vehicles, key)) << "no vehicle file has " << key;

    const std::string routes = readText("line_down.dat") + readText("line_up.dat");
    for (const std::string_view key : routeFileKeys())
        EXPECT_TRUE(hasKeyLine(routes, key)) << "no route file has " << key;
}

TEST(DemoLine, TextFilesAreCp932WithCrLfLineEnds)
{
    const std::string files[] = {"cabdrive.dat", "mascon.dat", "operation.dat", "readme.html", "line_down.dat",
                                 "line_up.dat", "train_E231_5B.dat", "diesel/kiha_W100_1B.dat", "ecs/train_W3000_4B.dat"};
    for (const std::string& file : files) {
        const std::string bytes = readBytes(demoFolder + file);
        ASSERT_FALSE(bytes.empty()) << file;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\n') {
                ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << file << ": a bare line feed at byte " << i;
            }
        }
        // Japanese text in CP932 is never valid UTF-8, and decoding and
        // encoding again gives the same bytes (nothing became U+FFFD).
        std::string text = decodeDataText(bytes);
        const bool ascii = std::none_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
        EXPECT_TRUE(ascii || !isValidUtf8(bytes)) << file;
        std::erase(text, '\r');
        EXPECT_EQ(toCp932Crlf(text), bytes) << file;
    }
    EXPECT_NE(readText("line_down.dat").find("[LineName]\r\n若葉線\r\n"), std::string::npos);
}

TEST(DemoLine, MainVideoFrameCountIsTheLastSpeedUnitFrame)
{
    for (const std::string direction : {"down", "up"}) {
        const auto route = loadDemoRoute("line_" + direction + ".dat");
        ASSERT_FALSE(route->speedUnits.empty());
        const std::string video = demoFolder + "video/" + route->dataName + ".avi";
        AVFormatContext* format = nullptr;
        ASSERT_EQ(avformat_open_input(&format, video.c_str(), nullptr, nullptr), 0) << video;
        ASSERT_GE(avformat_find_stream_info(format, nullptr), 0);
        const int stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        ASSERT_GE(stream, 0);
        int frames = 0;
        AVPacket* packet = av_packet_alloc();
        while (av_read_frame(format, packet) >= 0) {
            frames += packet->stream_index == stream ? 1 : 0;
            av_packet_unref(packet);
        }
        av_packet_free(&packet);
        EXPECT_EQ(format->streams[stream]->codecpar->width, 320);
        EXPECT_EQ(format->streams[stream]->codecpar->height, 240);
        avformat_close_input(&format);
        EXPECT_EQ(frames, route->speedUnits[route->speedUnits.size() - 1].toFrame) << direction;
        // The end of the video is where the train is stopped; on the down
        // line the driver changes ends there, within 200 frames of it.
        EXPECT_EQ(route->movieStops[0], frames) << direction;
        const int terminalStop = route->stations[route->stations.size() - 1].stopFrame;
        EXPECT_GT(terminalStop, route->movieStops[0] - 200) << direction;
    }
}

TEST(DemoLine, UpStationsAreTheDownStationsInReverseOrder)
{
    const auto down = loadDemoRoute("line_down.dat");
    const auto up = loadDemoRoute("line_up.dat");
    ASSERT_EQ(down->stations.size(), up->stations.size());
    ASSERT_GE(down->stations.size(), 5u);
    const std::size_t n = down->stations.size();
    std::set<std::int32_t> kinds;
    for (std::size_t i = 0; i < n; ++i) {
        EXPECT_EQ(down->stations[i].name, up->stations[n - 1 - i].name);
        EXPECT_EQ(down->stations[i].kind, up->stations[n - 1 - i].kind);
        kinds.insert(down->stations[i].kind);
    }
    EXPECT_EQ(kinds, (std::set<std::int32_t>{0, 1, 2}));
    // The same stretch of line between the end stations both ways (within a few metres).
    const auto span = [](const RouteData& r) { return r.stations[r.stations.size() - 1].stopDistance - r.stations[0].stopDistance; };
    EXPECT_GE(span(*down), 600000);
    EXPECT_NEAR(span(*down), span(*up), 500);
}

TEST(DemoLine, FilmingSpeedNeverStopsAndStopsLieWhereTheRunSlowed)
{
    for (const std::string direction : {"down", "up"}) {
        const auto route = loadDemoRoute("line_" + direction + ".dat");
        const SpeedUnitTable& rows = route->speedUnits;
        EXPECT_EQ(rows[0].fromFrame, 0);
        for (std::size_t k = 0; k < rows.size(); ++k) {
            // A filming speed of 0 would make the frame jump by twice the accumulator.
            EXPECT_GT(rows[k].fromSpeed, 0) << direction << " row " << k;
            EXPECT_GT(rows[k].toSpeed, 0) << direction << " row " << k;
            if (k > 0) {
                EXPECT_EQ(rows[k].fromFrame, rows[k - 1].toFrame) << direction << " row " << k;
            }
        }
        for (std::size_t i = 0; i < route->stations.size(); ++i) {
            const Station& s = route->stations[i];
            if (s.kind == 1)
                continue;
            const auto row = speedUnitRowByScan(rows, s.stopFrame);
            ASSERT_TRUE(row) << s.name;
            EXPECT_LE(std::min(rows[*row].fromSpeed, rows[*row].toSpeed), 6) << direction << " " << s.name;
        }
    }
}

TEST(DemoLine, EveryFileTheDataFilesNameExists)
{
    const auto exists = [](const std::string& dataPath) { return fs::is_regular_file(resolveDataPath(demoFolder + dataPath)); };
    const auto route = loadDemoRoute("line_down.dat");
    std::vector<std::string> files(route->soundData.begin(), route->soundData.end());
    for (std::size_t k = 0; k < fixedKankoCount + route->kankoSound2Count; ++k)
        files.push_back(route->kankoVoices[k].file);
    files.insert(files.end(), route->otherKankos.begin(), route->otherKankos.end());
    files.insert(files.end(), route->limitKankos.begin(), route->limitKankos.end());
    files.insert(files.end(), {route->stafCardFile, route->openingPictureFile, route->subDisplayFile, "operation.dat",
                               "readme.html", "image/title/title01.jpg", "sound/34109.wav", "move/opening.avi"});
    for (const MovieSwitch& m : route->movieSwitches)
        files.push_back("video\\" + m.clipName + ".avi");
    for (const std::string& f : files)
        EXPECT_TRUE(exists(f)) << f;

    for (const VehicleEntry& v : demoVehicles()) {
        const VehicleSpec vehicle = loadDemoVehicle(v.path);
        const std::string folder = v.path.substr(0, v.path.find_last_of('\\') + 1);
        std::vector<std::string> own(vehicle.driveSounds.begin(), vehicle.driveSounds.end());
        for (const auto& row : vehicle.engineSound1)
            own.push_back(row.file);
        for (const auto& row : vehicle.engineSound3)
            own.push_back(row.file);
        for (const PanelPicture* p : {&vehicle.panel, &vehicle.panel2, &vehicle.lampDoor, &vehicle.lampPower, &vehicle.lampEb,
                                      &vehicle.lampGen, &vehicle.lampAir, &vehicle.lampFin, &vehicle.lampEle, &vehicle.lampAts1,
                                      &vehicle.lampAts2, &vehicle.lampAtsp1, &vehicle.lampAtsp2, &vehicle.lampFwd, &vehicle.lampBack,
                                      &vehicle.lampConst, &vehicle.lampStop})
            own.push_back(p->file);
        for (const NeedleLayout* n : std::initializer_list<const NeedleLayout*>{&vehicle.needleSpeed, &vehicle.needleBc, &vehicle.needleMr, &vehicle.needleEr, &vehicle.needleBp})
            own.push_back(n->file);
        for (const auto& o : vehicle.otherPictures)
            own.push_back(o.file);
        EXPECT_EQ(vehicle.driveSounds.size(), static_cast<std::size_t>(driveBandCount)) << v.path;
        for (const std::string& f : own)
            EXPECT_TRUE(exists(folder + f)) << v.path << ": " << f;
    }
}

TEST(DemoLine, VehicleSoundNumbersNameChannelsThatExist)
{
    const auto route = loadDemoRoute("line_down.dat");
    for (const VehicleEntry& v : demoVehicles()) {
        const VehicleSpec s = loadDemoVehicle(v.path);
        const std::size_t channels = s.driveSounds.size() + route->soundData.size() + s.engineSound1.size() + s.engineSound3.size();
        EXPECT_LE(channels, soundChannelCapacity) << v.path;
        std::vector<std::int32_t> numbers = {s.soundEb, s.soundApply1, s.soundApply2, s.soundAts1, s.soundAts2, s.soundAts3,
                                             s.soundAtc, s.soundHorn, s.soundHorn2, s.soundHorn3, s.soundHorn4a,
                                             s.soundHorn4b, s.soundHorn4c, s.soundHorn4d, s.soundDoorOpen, s.soundDoorClose,
                                             s.soundEbRing, s.soundSqueak, s.soundCpStart, s.soundCpRun, s.soundCpEnd,
                                             s.soundStop, s.soundBuzzer, s.soundDepart, s.soundAtsWarn};
        for (const auto* list : {&s.soundBrakeBK, &s.soundBrakeBR, &s.soundBrakeBA})
            numbers.insert(numbers.end(), list->begin(), list->end());
        numbers.insert(numbers.end(), s.soundPowerPA.begin(), s.soundPowerPA.end());
        for (const auto& row : s.switchSounds)
            numbers.push_back(row.channel);
        for (const std::int32_t n : numbers) {
            EXPECT_GE(n, static_cast<std::int32_t>(s.driveSounds.size())) << v.path;
            EXPECT_LT(n, static_cast<std::int32_t>(channels)) << v.path;
        }
        // The horn plays its parts, not the running sounds or the door chime.
        EXPECT_EQ(route->soundData[static_cast<std::size_t>(s.soundHorn4a) - s.driveSounds.size()], "sound\\line\\horn_attack.wav");
        EXPECT_EQ(route->soundData[static_cast<std::size_t>(s.soundDoorOpen) - s.driveSounds.size()], "sound\\line\\door_open.wav");
    }
}

TEST(DemoLine, RouteFilesOnDiskAreWhatTheModelWrites)
{
    // Generating again gives the same bytes: the text carries no time
    // stamps and iterates in a fixed order.
    SoundCatalogue sounds;
    const LineGeometry down = lineFor(Direction::down);
    const RouteSounds routeSounds(down, sounds);
    const Callouts callouts = makeCallouts(limitSignSpeeds(down), sounds);
    const FilmingRun run = filmRun(down);
    const Timetable timetable = makeTimetable(down, run, firstDepartureTicks(Direction::down));
    const RouteInput input{Direction::down, &down, &run, &timetable, &routeSounds, &callouts};
    const std::string text = routeFileText(input);
    EXPECT_EQ(text, routeFileText(input));
    EXPECT_EQ(toCp932Crlf(text), readBytes(demoFolder + "line_down.dat"));
    EXPECT_EQ(toCp932Crlf(settingsText()), readBytes(demoFolder + "cabdrive.dat"));
}

// The pictures' cells, counted from a loaded picture and its cell width.
int cells(const Picture& picture, int cellWidth)
{
    return cellWidth > 0 ? picture.width / cellWidth : 0;
}

Picture loadDemoPicture(const std::string& dataPath)
{
    QImagePictureLoader pictures;
    auto picture = loadDataPicture(pictures, demoFolder + dataPath);
    EXPECT_TRUE(picture) << dataPath;
    return picture ? std::move(*picture) : Picture{};
}

int videoFrames(const std::string& dataPath)
{
    const std::string video = resolveDataPath(demoFolder + dataPath).string();
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, video.c_str(), nullptr, nullptr) != 0)
        return -1;
    int frames = 0;
    AVPacket* packet = av_packet_alloc();
    while (av_read_frame(format, packet) >= 0) {
        frames += format->streams[packet->stream_index]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO ? 1 : 0;
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&format);
    return frames;
}

TEST(DemoLine, RouteRowsPointAtSoundsPicturesAndVoicesThatExist)
{
    for (const std::string direction : {"down", "up"}) {
        const auto r = loadDemoRoute("line_" + direction + ".dat");
        const auto sounds = static_cast<std::int32_t>(r->soundData.size());
        const auto voices = static_cast<std::int32_t>(fixedKankoCount + r->kankoSound2Count);
        const auto stations = static_cast<std::int32_t>(r->stations.size());
        for (const Station& s : r->stations) {
            for (const std::int32_t sound : {s.arrivalSound, s.departureSound, s.ambienceSound})
                EXPECT_LT(sound, sounds) << s.name;
            // Sound 0 is the arrival chime: as an ambience it would mean none.
            EXPECT_NE(s.ambienceSound == 0, s.kind == 0) << s.name;
        }
        for (std::size_t k = 1; k < r->announces.size(); ++k) {
            EXPECT_LT(r->announces[k].column(1), sounds);
            EXPECT_LT(r->announces[k].column(3), stations);
        }
        for (const auto& row : r->sounds)
            EXPECT_LT(row.column(1), sounds);
        for (const auto& row : r->dopplers)
            EXPECT_LT(row.column(1), sounds);
        for (const auto& row : r->sound2s)
            EXPECT_LT(row.column(1), sounds);
        for (const auto& row : r->stationKankos) {
            EXPECT_LT(row.column(1), stations);
            const std::int32_t code = row.column(3);
            EXPECT_TRUE(code < voices || code == 999 || code >= 1000) << "code " << code;
        }
        for (const auto& row : r->signalKankos)
            EXPECT_LT(row.column(1), static_cast<std::int32_t>(r->signals.size()));
        for (const auto& row : r->crosses) {
            EXPECT_LT(row.column(1), static_cast<std::int32_t>(r->crossPictures.size()));
            EXPECT_LT(row.column(2), voices);
        }
        for (const auto& row : r->anims)
            EXPECT_LT(row.column(4) + animationPhases - 1, static_cast<std::int32_t>(r->animPictures.size()));
        for (const auto& row : r->trafficSignals)
            for (int phase = 0; phase < 6; ++phase)
                EXPECT_LT(row.column(2 + 3 * phase), static_cast<std::int32_t>(r->trafficSignalPictures.size()));
        // Strips: a cell for every picture number the rows ask for.
        const auto& signs = *r->signPictures;
        for (const auto& row : r->signs)
            EXPECT_LT(row.column(1), cells(signs[7].picture, signs[7].size));
        EXPECT_EQ(cells(signs[4].picture, signs[4].size), static_cast<int>(r->slopes.size()) + 1);
        // The slope post of row j is cell j + 1; cell 0, shown between sections, is blank.
        const Picture& slope = signs[4].picture;
        const std::uint32_t key = slope.pixel(0, slope.height - 1);
        int drawnInFirstCell = 0, drawnInLastCell = 0;
        for (int y = 0; y < slope.height; ++y) {
            for (int x = 0; x < signs[4].size; ++x) {
                drawnInFirstCell += slope.pixel(x, y) != key;
                drawnInLastCell += slope.pixel(slope.width - 1 - x, y) != key;
            }
        }
        EXPECT_EQ(drawnInFirstCell, 0);
        EXPECT_GT(drawnInLastCell, 0);
        for (const auto& row : r->speedLimits) {
            EXPECT_LT(row.column(2), cells(signs[5].picture, signs[5].size));
            EXPECT_LT(row.column(6), cells(signs[5].picture, signs[5].size));
            EXPECT_LT(row.column(4), row.column(5));
        }
        EXPECT_GT(cells(signs[0].picture, signs[0].size), stations);
        ASSERT_TRUE(r->monitor);
        EXPECT_GT(cells(*r->monitor->picture, r->monitor->patternWidth), stations);
        const auto& signal = (*r->signalPictures)[0];
        EXPECT_EQ(cells(signal.picture, signal.width), 41) << "a cell for every display 1 to 40";
        for (const auto& row : r->signals) {
            EXPECT_LT(row.column(2), cells((*r->signalPictures)[1].picture, (*r->signalPictures)[1].width));
            EXPECT_LT(row.column(3), static_cast<std::int32_t>(r->kankoSound2Count));
        }
        EXPECT_EQ(r->otherKankos.size(), static_cast<std::size_t>(otherSignCount));
        EXPECT_EQ(r->limitKankos.size(), static_cast<std::size_t>(cells(signs[5].picture, signs[5].size) - 1));
    }
}

TEST(DemoLine, SignalsTranspondersAndTimedDeparturesAreInOrder)
{
    for (const std::string direction : {"down", "up"}) {
        const auto r = loadDemoRoute("line_" + direction + ".dat");
        int previous = -1;
        for (const SignalRow& s : r->signals) {
            EXPECT_GT(s.column(6), previous) << direction;
            EXPECT_LE(s.column(5), s.column(6));
            EXPECT_LE(s.column(7), s.column(8)) << "the alarm transponder comes first";
            EXPECT_LT(s.column(8), s.column(6));
            EXPECT_GE(s.column(4), 0);
            EXPECT_LE(s.column(4), 9);
            previous = s.column(6);
            if (s.column(1) != 1)
                continue;
            // A departure signal clears shortly before its station's departure.
            const Station* station = nullptr;
            for (const Station& st : r->stations)
                station = st.stopFrame < s.column(6) ? &st : station;
            ASSERT_NE(station, nullptr);
            EXPECT_LT(s.column(10), station->departureTime);
            EXPECT_GT(s.column(10), station->departureTime - 60 * 30);
        }
        // The preceding train runs ahead: each row leaves a stop before we do.
        ASSERT_FALSE(r->preTrains.empty());
        for (const Pre_Train& p : r->preTrains) {
            const Station& s = r->stations[static_cast<std::size_t>(p.stationIndex)];
            EXPECT_NE(s.kind, 1);
            EXPECT_LT(p.departureTime, s.departureTime);
        }
        EXPECT_GT(r->preTrainEndFrame, r->preTrainStartFrame);
        // Timed call-outs lie between the stations around them.
        for (const TimeRow& t : r->times) {
            const std::int32_t middle = (t.column(1) + t.column(2)) / 2;
            for (std::size_t i = 0; i + 1 < r->stations.size(); ++i) {
                if (r->stations[i].stopFrame < middle && middle < r->stations[i + 1].stopFrame && r->stations[i].kind != 1) {
                    EXPECT_GT(t.column(3), r->stations[i].departureTime);
                }
            }
        }
    }
}

TEST(DemoLine, ClipsLastAsLongAsTheirRowsSay)
{
    for (const std::string direction : {"down", "up"}) {
        const auto r = loadDemoRoute("line_" + direction + ".dat");
        ASSERT_EQ(r->movieSwitches.size(), 2u);
        for (const MovieSwitch& m : r->movieSwitches) {
            EXPECT_GE(videoFrames("video/" + m.clipName + ".avi"), m.clipLastFrame + 1) << m.clipName;
            if (m.kind == 2) {
                ASSERT_LT(m.returnFrame, static_cast<std::int32_t>(r->stations.size()));
                EXPECT_NE(r->stations[static_cast<std::size_t>(m.returnFrame)].kind, 1);
            } else {
                // The clip runs over the window and hands back just beyond it.
                EXPECT_EQ(m.clipLastFrame, m.lastFrame - m.firstFrame + 1);
                EXPECT_GT(m.returnFrame, m.lastFrame);
                EXPECT_LE(m.returnFrame, m.lastFrame + 2);
            }
        }
    }
}

TEST(DemoLine, DistancesOfTheRouteFileAreThoseOfTheModel)
{
    // The camera of every frame stood where the program will put the train.
    const LineGeometry line = lineFor(Direction::up);
    const FilmingRun run = filmRun(line);
    const auto r = loadDemoRoute("line_up.dat");
    const FrameDistance distance(r->speedUnits);
    const double origin = run.metresAt(0);
    for (int f = 0; f <= run.frameCount(); f += 97)
        EXPECT_NEAR(distance(f) / 100.0, run.metresAt(f) - origin, 0.006) << "frame " << f;
    for (std::size_t i = 0; i < line.stations.size(); ++i)
        EXPECT_NEAR(r->stations[i].stopDistance / 100.0 + origin, line.stations[i].positionM, 2.0) << line.stations[i].name;
}

TEST(DemoLine, TimetableLeavesRoomForTheArrivalAnnouncementAndTheMelody)
{
    // The program measures sounds from the canonical 44-byte header.
    const auto seconds = [](const std::string& dataPath) {
        const std::string bytes = readBytes(resolveDataPath(demoFolder + dataPath));
        EXPECT_GE(bytes.size(), 44u) << dataPath;
        const auto u32 = [&](std::size_t at) {
            return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at]))
                   | static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8
                   | static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16
                   | static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
        };
        EXPECT_EQ(bytes.substr(36, 4), "data") << dataPath;
        EXPECT_EQ(u32(40) + 44, bytes.size()) << dataPath;
        return static_cast<double>(u32(40)) / u32(28);
    };
    for (const std::string direction : {"down", "up"}) {
        const auto r = loadDemoRoute("line_" + direction + ".dat");
        for (std::size_t i = 1; i + 1 < r->stations.size(); ++i) {
            const Station& s = r->stations[i];
            if (s.kind == 1)
                continue;
            const double needed = seconds(r->soundData[static_cast<std::size_t>(s.arrivalSound)])
                                  + seconds(r->soundData[static_cast<std::size_t>(s.departureSound)]);
            const std::int32_t arrival = r->stations[i - 1].departureTime;
            EXPECT_GT(s.departureTime - arrival, needed * 30) << s.name;
            EXPECT_GT(needed, 1.0) << s.name;
        }
    }
}

TEST(DemoLine, PanelStripsHaveACellForEveryValueAndKeyedCorners)
{
    const std::uint32_t magenta = 0xFFFF00FFu;
    for (const VehicleEntry& v : demoVehicles()) {
        const VehicleSpec s = loadDemoVehicle(v.path);
        const auto stripCells = [](const PictureStrip& strip) { return strip.picture ? cells(*strip.picture, strip.patternWidth) : 0; };
        EXPECT_GT(stripCells(s.notchImageP), s.powerNotches) << v.path;
        EXPECT_GT(stripCells(s.notchImageB), s.brakeType == 0 ? 4 : s.brakeNotches) << v.path;
        EXPECT_GT(stripCells(s.notchImageP2), s.powerNotches) << v.path;
        EXPECT_GE(stripCells(s.digiSpeed), 200) << v.path;
        EXPECT_EQ(stripCells(s.lampSignal), static_cast<int>(s.cabSignalCodes.size())) << v.path;
        EXPECT_GE(stripCells(s.gearImageList), static_cast<int>(std::max<std::size_t>(1, s.engineTable.size()))) << v.path;
        for (const PictureStrip* strip : {&s.notchImageP, &s.notchImageB, &s.digiSpeed, &s.lampSignal}) {
            ASSERT_TRUE(strip->picture) << v.path << " " << strip->file;
            EXPECT_EQ(strip->picture->pixel(0, strip->picture->height - 1), magenta) << strip->file;
            EXPECT_EQ(strip->picture->height, strip->patternHeight) << strip->file;
        }
        const std::string folder = v.path.substr(0, v.path.find_last_of('\\') + 1);
        // A needle turns about its picture's centre: the centre of its dial.
        for (const NeedleLayout* n : std::initializer_list<const NeedleLayout*>{&s.needleSpeed, &s.needleBc, &s.needleMr}) {
            const Picture p = loadDemoPicture(folder + n->file);
            EXPECT_EQ(p.width, p.height) << n->file;
            EXPECT_EQ(p.pixel(0, p.height - 1), magenta) << n->file;
            EXPECT_NE(p.pixel(p.width / 2, p.height / 4), magenta) << n->file << " points straight up";
        }
        EXPECT_EQ(s.needleBc.x, s.needleMr.x) << "brake cylinder and main reservoir share a dial";
        EXPECT_EQ(s.needleEr.y, s.needleBp.y);
        const Picture lamp = loadDemoPicture(folder + s.lampDoor.file);
        EXPECT_EQ(lamp.pixel(0, lamp.height - 1), magenta);
        EXPECT_GE(s.powerModes.size(), s.groupStart.size()) << v.path << ": a name for every notch group";
        if (s.engineType == 1)
            EXPECT_EQ(s.notchTable.size(), static_cast<std::size_t>(s.powerNotches)) << v.path << ": a row for every power notch";
    }
}

TEST(DemoLine, SettingsAndControllerMapAreComplete)
{
    const Settings s = loadSettings(demoFolder);
    EXPECT_EQ(s.physicsStepDivisor, 30);
    EXPECT_GE(s.infoTexts.size(), 22u) << "the information line reads entries up to 21";
    EXPECT_TRUE(fs::is_regular_file(resolveDataPath(demoFolder + s.videoFolder + "line_down.avi")));
    const std::string mascon = readText("mascon.dat");
    std::istringstream lines(mascon);
    std::set<std::string> slots;
    std::string line;
    for (int k = 0; k < 26 && std::getline(lines, line); ++k) {
        line.erase(line.find_last_not_of('\r') + 1);
        EXPECT_EQ(line.size(), 5u) << line;
        slots.insert(line);
    }
    EXPECT_EQ(slots.size(), 26u) << "every slot has its own code";
    EXPECT_TRUE(std::getline(lines, line) && line.starts_with("#"));
    const std::string help = readText("operation.dat");
    for (const char* key : {"Z", "スペース", "Backspace", "Enter", "Page Up"})
        EXPECT_NE(help.find(key), std::string::npos) << key;
}

TEST(DemoLine, CabPanelPicturesFitTheCabAndLampsDoNotOverlap)
{
    struct Box {
        std::string what;
        int x, y, w, h;
    };
    for (const VehicleEntry& v : demoVehicles()) {
        const VehicleSpec s = loadDemoVehicle(v.path);
        const std::string folder = v.path.substr(0, v.path.find_last_of('\\') + 1);
        std::vector<Box> lamps;
        for (const PanelPicture* p : {&s.lampDoor, &s.lampPower, &s.lampEb, &s.lampGen, &s.lampAir, &s.lampFin, &s.lampEle,
                                      &s.lampAts1, &s.lampAts2, &s.lampAtsp1, &s.lampAtsp2, &s.lampG, &s.lampYg, &s.lampY,
                                      &s.lampYy, &s.lampR, &s.lampFwd, &s.lampBack, &s.lampConst, &s.lampStop}) {
            const Picture picture = loadDemoPicture(folder + p->file);
            lamps.push_back({p->file, p->x, p->y, picture.width, picture.height});
        }
        std::vector<Box> all = lamps;
        for (const PictureStrip* strip : {&s.notchImageP, &s.notchImageB, &s.notchImageP2, &s.notchImageB2,
                                          &s.gearImageList, &s.gearImageList2, &s.digiSpeed, &s.lampSignal})
            all.push_back({strip->file, strip->x, strip->y, strip->patternWidth, strip->patternHeight});
        const Picture panel = loadDemoPicture(folder + s.panel.file);
        EXPECT_EQ(panel.width, 800);
        EXPECT_EQ(s.panel.y + panel.height, 760) << "the panel fills the cab below the view";
        for (const Box& b : all) {
            EXPECT_GE(b.x, 0) << v.path << " " << b.what;
            EXPECT_GE(b.y, s.panel.y) << v.path << " " << b.what;
            EXPECT_LE(b.x + b.w, 800) << v.path << " " << b.what;
            EXPECT_LE(b.y + b.h, 760) << v.path << " " << b.what;
        }
        for (std::size_t i = 0; i < all.size(); ++i)
            for (std::size_t j = i + 1; j < all.size(); ++j) {
                const Box& a = all[i];
                const Box& b = all[j];
                const bool apart = a.x + a.w <= b.x || b.x + b.w <= a.x || a.y + a.h <= b.y || b.y + b.h <= a.y;
                EXPECT_TRUE(apart) << v.path << ": " << a.what << " overlaps " << b.what;
            }
        EXPECT_GT(s.clock.x, 0);
        EXPECT_GT(s.clock.y, s.panel.y);
    }
}

TEST(DemoLine, TheVideoSeesEachPlatformOnItsDoorSideAndTheGradients)
{
    const LineGeometry line = lineFor(Direction::up);
    const TrackFeatures features = trackFeatures(line);
    ASSERT_EQ(features.platforms.size(), line.stations.size());
    for (std::size_t i = 0; i < line.stations.size(); ++i) {
        const Platform& p = features.platforms[i];
        // The cab stands at the stopping point with the platform beside and behind it.
        EXPECT_LT(p.startM, line.stations[i].positionM - 100);
        EXPECT_GT(p.endM, line.stations[i].positionM);
        EXPECT_EQ(p.leftSide, line.stations[i].platformLeft);
    }
    ASSERT_EQ(features.tunnels.size(), 1u);
    EXPECT_DOUBLE_EQ(features.tunnels[0].startM, line.tunnels[0].startM);
    for (const GradientSection& g : line.gradients) {
        const double rise = features.heightAt(g.endM) - features.heightAt(g.startM);
        EXPECT_NEAR(rise, (g.endM - g.startM) * g.perMille / 1000, 1e-9);
    }
    EXPECT_NE(features.curveAt(line.curves[0].startM + 1), 0);
}

// --- the line model ---

TEST(DemoLine, ReversedLineMirrorsPositionsAndTurnsGradientsRound)
{
    const LineGeometry down = demoLine();
    const LineGeometry up = reversedLine(down);
    ASSERT_EQ(up.stations.size(), down.stations.size());
    EXPECT_EQ(up.stations.front().name, down.stations.back().name);
    EXPECT_DOUBLE_EQ(up.stations.front().positionM, down.lengthM - down.stations.back().positionM);
    EXPECT_NE(up.stations.front().platformLeft, down.stations.back().platformLeft);
    for (const double m : {100.0, 1000.0, 4000.0, 6400.0}) {
        // Climbing one way is falling the other; a right curve is a left one.
        EXPECT_NEAR(up.heightAt(down.lengthM - m), down.heightAt(m) - down.heightAt(down.lengthM), 1e-9);
        EXPECT_DOUBLE_EQ(up.curvatureAt(down.lengthM - m + 0.5), -down.curvatureAt(m - 0.5));
        EXPECT_EQ(up.restrictionAt(down.lengthM - m + 0.5), down.restrictionAt(m - 0.5));
    }
    const LineGeometry again = reversedLine(up);
    for (std::size_t i = 0; i < down.stations.size(); ++i)
        EXPECT_NEAR(again.stations[i].positionM, down.stations[i].positionM, 1e-9);
    EXPECT_EQ(again.gradients.front().perMille, down.gradients.front().perMille);
}

TEST(DemoLine, SpeedSegmentsFollowEveryFrameWithinTheTolerance)
{
    std::vector<double> speeds;
    for (int f = 0; f <= 300; ++f)
        speeds.push_back(f < 100 ? 3 + 0.09 * f : f < 200 ? 12 + 30.0 * std::sin(f / 40.0) : 40);
    const std::vector<SpeedSegment> segments = segmentsFromFrameSpeeds(speeds, 0.05);
    ASSERT_FALSE(segments.empty());
    EXPECT_EQ(segments.front().fromFrame, 0);
    EXPECT_EQ(segments.back().toFrame, 300);
    for (std::size_t k = 0; k < segments.size(); ++k) {
        const SpeedSegment& s = segments[k];
        if (k > 0) {
            EXPECT_EQ(s.fromFrame, segments[k - 1].toFrame);
        }
        for (int f = s.fromFrame; f <= s.toFrame; ++f) {
            const double line = s.fromKmh + (s.toKmh - s.fromKmh) * (f - s.fromFrame) / (s.toFrame - s.fromFrame);
            EXPECT_NEAR(line, speeds[static_cast<std::size_t>(f)], 0.051) << "frame " << f;
        }
    }
    // The straight stretches need one segment each.
    EXPECT_LT(segments.size(), 60u);
}

TEST(DemoLine, FilmingRunStopsAtEveryStopAndTimetableLeavesOnTheQuarterMinute)
{
    const LineGeometry line = lineFor(Direction::up);
    const FilmingRun run = filmRun(line);
    const Timetable t = makeTimetable(line, run, 1000 * 30);
    ASSERT_EQ(run.stationFrames().size(), line.stations.size());
    for (std::size_t i = 0; i < line.stations.size(); ++i) {
        const StationSite& s = line.stations[i];
        const int frame = run.stationFrames()[i];
        EXPECT_NEAR(run.metresAt(frame), s.positionM, 2.0) << s.name;
        if (s.kind != passing) {
            EXPECT_LE(run.speedAt(frame), 6) << s.name;
        } else {
            EXPECT_GT(run.speedAt(frame), 40) << s.name;
        }
        if (i > 0) {
            EXPECT_GT(frame, run.stationFrames()[i - 1]);
            EXPECT_GT(t.arrivalTicks[i], t.departureTicks[i - 1]);
        }
        if (s.kind != passing && i > 0) {
            EXPECT_EQ(t.departureTicks[i] % (15 * 30), 0) << s.name;
            EXPECT_GE(t.departureTicks[i] - t.arrivalTicks[i], 20 * 30) << s.name;
        }
    }
    // The speed changes as a train's does: never faster than it accelerates
    // or brakes, frame by frame.
    for (int f = 1; f <= run.frameCount(); ++f)
        EXPECT_LE(std::abs(run.speedAt(f) - run.speedAt(f - 1)), 3.0 / 30 + 0.02) << "frame " << f;
    // The run keeps under the line speed and every restriction.
    for (int f = 0; f < run.frameCount(); f += 7)
        EXPECT_LE(run.speedAt(f), line.restrictionAt(run.metresAt(f)) + 0.5) << "frame " << f;
    EXPECT_EQ(run.frameAt(run.metresAt(1234)), 1234);
}

TEST(DemoLine, SignalsGuardEveryStopAndRepeatHiddenOnes)
{
    const LineGeometry line = lineFor(Direction::down);
    const std::vector<SignalSite> signals = signalSites(line);
    for (std::size_t k = 1; k < signals.size(); ++k) {
        EXPECT_GT(signals[k].positionM, signals[k - 1].positionM);
        EXPECT_LE(signals[k].positionM - signals[k - 1].positionM, 800.5) << "block " << k;
    }
    for (std::size_t i = 1; i < line.stations.size(); ++i) {
        const auto home = std::find_if(signals.begin(), signals.end(), [&](const SignalSite& s) {
            return s.station == static_cast<int>(i) && s.plate == homePlate;
        });
        ASSERT_NE(home, signals.end()) << line.stations[i].name;
        EXPECT_LT(home->positionM, line.stations[i].positionM);
    }
    std::set<int> heads;
    for (const SignalSite& s : signals)
        heads.insert(s.headType);
    EXPECT_TRUE(heads.count(0)) << "the home signal behind the tunnel has a repeater";
    EXPECT_GE(heads.size(), 4u);
}

TEST(DemoLine, SoundCatalogueWritesEachFileOnceAndReportsAFailingSound)
{
    test::TempFolder folder;
    SoundCatalogue catalogue;
    int made = 0;
    catalogue.add("sound\\a.wav", [&made] { ++made; return Wave{22050, {1, 2, 3}}; });
    catalogue.add("sound\\a.wav", [] { return Wave{22050, {9}}; });  // the first maker stays
    catalogue.add("sound\\sub\\b.wav", [] { return Wave{11025, std::vector<std::int16_t>(100, 7)}; });
    ASSERT_EQ(catalogue.size(), 2u);
    catalogue.writeAll(folder.path().string(), 2);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(fs::file_size(folder.path() / "sound/a.wav"), 44u + 6u);
    EXPECT_EQ(fs::file_size(folder.path() / "sound/sub/b.wav"), 44u + 200u);

    catalogue.add("sound\\broken.wav", []() -> Wave { throw std::runtime_error("no voice"); });
    EXPECT_THROW(catalogue.writeAll(folder.path().string(), 2), std::runtime_error);
}

TEST(DemoLine, DataTextFilesAreWrittenIntoNewFolders)
{
    test::TempFolder folder;
    const std::string path = (folder.path() / "a/b/line.dat").string();
    writeDataText(path, "[LineName]\n若葉線\n");
    EXPECT_EQ(readBytes(path), "[LineName]\r\n\x8e\xe1\x97\x74\x90\xfc\r\n");
}

TEST(DemoLine, TextEncodingAndNumbers)
{
    EXPECT_EQ(toCp932Crlf("駅\nA\n"), std::string("\x89\x77\r\nA\r\n"));
    EXPECT_THROW(toCp932Crlf("\xF0\x9F\x9A\x83"), std::runtime_error);  // a train emoji has no CP932 code
    EXPECT_EQ(decimal(2.5), "2.5");
    EXPECT_EQ(decimal(3.0), "3");
    EXPECT_EQ(decimal(-0.0001), "0");
    EXPECT_EQ(decimal(0.123456, 3), "0.123");
    DataText t;
    t.row(1, "a", std::string("b")).line("[Key]");
    EXPECT_EQ(t.text(), "1,a,b\n[Key]\n");
}

TEST(DemoLine, NeedleScaleMeetsAtTenKmhAndSpansTheDial)
{
    // An opened-out scale below 10 km/h joins the main scale there.
    EXPECT_NEAR(needleAngle(10, -135, 2.0, 3.0), needleAngle(9.999, -135, 2.0, 3.0), 0.01);
    EXPECT_DOUBLE_EQ(needleAngle(0, -135, 2.0, 3.0), -135);
    EXPECT_DOUBLE_EQ(needleAngle(50, -135, 2.0, 0), -35);
    // The speedometers as written: 0 at -135 degrees, the top of the scale at +135.
    const VehicleSpec e231 = loadDemoVehicle("train_E231_5B.dat");
    const SpeedNeedleLayout& n = e231.needleSpeed;
    EXPECT_NEAR(needleAngle(0, n.offsetDeg, static_cast<double>(n.degPerUnit), static_cast<double>(n.degPerUnitLow)), -135, 0.5);
    EXPECT_NEAR(needleAngle(120, n.offsetDeg, static_cast<double>(n.degPerUnit), static_cast<double>(n.degPerUnitLow)), 135, 0.5);
    const VehicleSpec w3000 = loadDemoVehicle("ecs\\train_W3000_4B.dat");
    const SpeedNeedleLayout& m = w3000.needleSpeed;
    EXPECT_NE(m.degPerUnitLow, 0);
    EXPECT_NEAR(needleAngle(120, m.offsetDeg, static_cast<double>(m.degPerUnit), static_cast<double>(m.degPerUnitLow)), 135, 0.5);
}

}  // namespace
}  // namespace cabdrive
