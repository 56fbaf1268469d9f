// Tests of the route file loader: keys, tables, labels in messages, pictures.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "common/load_error.h"
#include "data/route_distances.h"
#include "data/route_file.h"
#include "support/fake_picture_loader.h"
#include "support/temp_folder.h"

namespace cabdrive {
namespace {

std::string routeError(const std::string& label, const std::string& line)
{
    return "路線ファイルに誤りがあります。" + label + ":" + line;
}

// n comma-separated integers base + 1, base + 2, ...
std::string intRowText(int n, int base)
{
    std::string row;
    for (int k = 1; k <= n; ++k)
        row += (k > 1 ? "," : "") + std::to_string(base + k);
    return row;
}

std::string stationRowText(const std::string& name, int kind = 0, int frame = 100)
{
    return name + "," + std::to_string(kind) + "," + std::to_string(frame) + ",200,1,2,3,36000,80,1,0,12,13,14,50";
}

std::string repeatedRows(int count, const std::function<std::string(int)>& row)
{
    std::string rows;
    for (int k = 1; k <= count; ++k)
        rows += row(k) + "\n";
    return rows;
}

class RouteFileTest : public ::testing::Test {
protected:
    std::string programFolder() const { return m_temp.folder(); }

    std::unique_ptr<RouteData> load(const std::string& text, std::size_t vehicleChannels = 0)
    {
        m_temp.write("line_down.dat", text);
        return loadRoute(RouteSource{programFolder(), "line_down.dat", "train.dat", vehicleChannels}, pictures);
    }

    std::string loadError(const std::string& text, std::size_t vehicleChannels = 0)
    {
        try {
            load(text, vehicleChannels);
        } catch (const LoadError& error) {
            return error.what();
        }
        return "(loaded without error)";
    }

    test::FakePictureLoader pictures;

private:
    test::TempFolder m_temp;
};

TEST_F(RouteFileTest, SingleValuesAreReadOneLineEach)
{
    const auto route = load(
        "[LineName]\nみどり線\n[LineName2]\n下り\n[StartPos]\n120\n[FrameRate]\n15\n"
        "[Staf]\nstaf.bmp\nopen.bmp\n\n[Friction]\n0.35\n[DataName]\nline_video\n"
        "[Perspective]\n1.25\n-40\n[OneMan]\n1\n[TunnelR]\n250\n");
    EXPECT_EQ(route->lineName, "みどり線");
    EXPECT_EQ(route->lineName2, "下り");
    EXPECT_EQ(route->startPos, 120);
    EXPECT_EQ(route->frameRate, 15);
    EXPECT_EQ(route->stafCardFile, "staf.bmp");
    EXPECT_EQ(route->openingPictureFile, "open.bmp");
    EXPECT_EQ(route->subDisplayFile, "");
    EXPECT_EQ(route->friction.raw, 3500);
    EXPECT_EQ(route->dataName, "line_video");
    EXPECT_EQ(route->perspectiveFactor, 1.25L);
    EXPECT_EQ(route->perspectiveOffset, -40);
    EXPECT_EQ(route->oneMan, 1);
    EXPECT_EQ(route->tunnelR, 250);
}

TEST_F(RouteFileTest, RowsWithTextOrDecimalsFillTheirNamedFields)
{
    const auto route = load(
        "[MovieSwitch]\n1,100,200,clip_a,50,210,7,10,3\n#\n"
        "[Pre_Train]\n300,8000\n0,60,1000\n1,70,2000\n#\n"
        "[Station]\n" + stationRowText("駅A", 2, 450) + "\n#\n"
        "[Slope]\n-12.5,10,20\n#\n"
        "[SpeedUnit]\n0,30,36.5,72\n#\n");
    const MovieSwitch& clip = route->movieSwitches[0];
    EXPECT_EQ(clip.kind, 1);
    EXPECT_EQ(clip.lastFrame, 200);
    EXPECT_EQ(clip.clipName, "clip_a");
    EXPECT_EQ(clip.returnFrame, 210);
    EXPECT_EQ(clip.sound, 3);
    EXPECT_EQ(route->preTrainStartFrame, 300);
    EXPECT_EQ(route->preTrainEndFrame, 8000);
    ASSERT_EQ(route->preTrains.size(), 2u);
    EXPECT_EQ(route->preTrains[1].stationIndex, 1);
    EXPECT_EQ(route->preTrains[1].speed, 70);
    EXPECT_EQ(route->preTrains[1].departureTime, 2000);
    const Station& station = route->stations[0];
    EXPECT_EQ(station.name, "駅A");
    EXPECT_EQ(station.kind, 2);
    EXPECT_EQ(station.stopFrame, 450);
    EXPECT_EQ(station.departureTime, 36000);
    EXPECT_EQ(station.lineSpeed, 80);
    EXPECT_EQ(station.column14, 14);
    EXPECT_EQ(station.doorSoundChance, 50);
    EXPECT_EQ(route->slopes[0].gradient.raw, -125000);
    EXPECT_EQ(route->slopes[0].endFrame, 20);
    EXPECT_EQ(route->speedUnits[0].fromSpeed, 36.5L);
    EXPECT_EQ(route->speedUnits[0].toSpeed, 72.0L);
    EXPECT_EQ(route->speedUnits[0].toFrame, 30);
}

// Every integer table gets its own key's rows with all columns in file order.
TEST_F(RouteFileTest, EachIntegerTableKeyFillsItsOwnTable)
{
    struct Case {
        std::string key;
        int columns;
        std::function<std::pair<std::size_t, std::int32_t>(const RouteData&)> sizeAndLastColumn;
    };
    auto with = [](const auto& table, int columns) {
        if (table.empty())
            return std::pair<std::size_t, std::int32_t>(0, 0);
        return std::pair<std::size_t, std::int32_t>(table.size(), table[table.size() - 1].column(columns));
    };
    const std::vector<Case> cases = {
        {"[Announce]", 4, [&](const RouteData& r) { return with(r.announces, 4); }},
        {"[Sound]", 8, [&](const RouteData& r) { return with(r.sounds, 8); }},
        {"[Sound2]", 3, [&](const RouteData& r) { return with(r.sound2s, 3); }},
        {"[Doppler]", 5, [&](const RouteData& r) { return with(r.dopplers, 5); }},
        {"[Tunnel]", 3, [&](const RouteData& r) { return with(r.tunnels, 3); }},
        {"[Atten]", 4, [&](const RouteData& r) { return with(r.attens, 4); }},
        {"[Signal]", 22, [&](const RouteData& r) { return with(r.signals, 22); }},
        {"[TrafficSignal]", 26, [&](const RouteData& r) { return with(r.trafficSignals, 26); }},
        {"[Sign]", 4, [&](const RouteData& r) { return with(r.signs, 4); }},
        {"[Anim]", 4, [&](const RouteData& r) { return with(r.anims, 4); }},
        {"[SignalKanko]", 3, [&](const RouteData& r) { return with(r.signalKankos, 3); }},
        {"[StationKanko]", 3, [&](const RouteData& r) { return with(r.stationKankos, 3); }},
        {"[SpeedLimit]", 6, [&](const RouteData& r) { return with(r.speedLimits, 6); }},
        {"[SpeedCheck1]", 4, [&](const RouteData& r) { return with(r.speedChecks1, 4); }},
        {"[SpeedCheck2]", 4, [&](const RouteData& r) { return with(r.speedChecks2, 4); }},
        {"[Cross]", 5, [&](const RouteData& r) { return with(r.crosses, 5); }},
        {"[Time]", 3, [&](const RouteData& r) { return with(r.times, 3); }},
        {"[Switch]", 2, [&](const RouteData& r) { return with(r.switches, 2); }},
    };
    std::string text;
    for (std::size_t k = 0; k < cases.size(); ++k) {
        const int base = static_cast<int>(k + 1) * 100;
        // [Announce] takes its header line as row 0.
        text += cases[k].key + "\n" + (cases[k].key == "[Announce]" ? "7\n" : "") + intRowText(cases[k].columns, base) +
                "\n" + intRowText(cases[k].columns, base + 50) + "\n#\n";
    }
    const auto route = load(text);
    for (std::size_t k = 0; k < cases.size(); ++k) {
        const int base = static_cast<int>(k + 1) * 100;
        const auto [size, lastColumn] = cases[k].sizeAndLastColumn(*route);
        const bool announce = cases[k].key == "[Announce]";
        EXPECT_EQ(size, announce ? 3u : 2u) << cases[k].key;
        EXPECT_EQ(lastColumn, base + 50 + cases[k].columns) << cases[k].key;
    }
    EXPECT_EQ(route->announces[0].column(1), 7);
    EXPECT_EQ(route->announceCount(), 2u);
    EXPECT_EQ(route->announces[1].column(1), 101);
    EXPECT_EQ(route->signals[1].column(6), 7 * 100 + 50 + 6);
}

TEST_F(RouteFileTest, KeyMatchesByItsFirstCharactersOnly)
{
    const auto route = load(
        "[Station] the stations of the line\n" + stationRowText("A") + "\n#\n"
        " [LineName]\nnot a key\n"
        "[DataName]\n[LineName]\nstill a comment\n");
    EXPECT_EQ(route->stations.size(), 1u);
    // A value line is never taken for an earlier key...
    EXPECT_EQ(route->dataName, "[LineName]");
    EXPECT_EQ(route->lineName, "");
    // ...but a line read as a value is still tested against the keys after it.
    EXPECT_EQ(loadError("[LineName]\n[FrameRate]\nfast\n"), routeError("その他", "fast"));
}

TEST_F(RouteFileTest, TablesEndAtTheirHashLineExceptTheFirstRowOfThree)
{
    const auto route = load("[Station]\n# no stations\n[Signal]\n#\n[OtherKanko]\n#\n");
    EXPECT_EQ(route->stations.size(), 0u);
    EXPECT_EQ(route->signals.size(), 0u);
    EXPECT_EQ(route->otherKankos.size(), 0u);

    EXPECT_EQ(loadError("[StafSwitch]\n#\n"), routeError("[StafSwitch]", "#"));
    EXPECT_EQ(loadError("[Announce]\n#\n"), routeError("[Announce]", "#"));
    EXPECT_EQ(loadError("[Pre_Train]\n#\n"), routeError("[Pre_Train]", "#"));
    EXPECT_EQ(load("[StafSwitch]\n5\n6\n#\n")->stafSwitches.size(), 2u);
}

TEST_F(RouteFileTest, SemicolonRowsAreCommentsOnlyInTheSoundTables)
{
    const auto route = load("[Sound]\n;comment\n1,2,3,4,5,6,7,8\n#\n[Sound2]\n;x\n1,2,3\n;y\n#\n");
    EXPECT_EQ(route->sounds.size(), 1u);
    EXPECT_EQ(route->sound2s.size(), 1u);

    EXPECT_EQ(loadError("[Doppler]\n;comment\n#\n"), routeError("[Doppler]", ";comment"));
    EXPECT_EQ(loadError("[Signal]\n;x\n#\n"), routeError("[Signal]", ";x"));
}

TEST_F(RouteFileTest, BadRowReportsItsTableAndTheRow)
{
    EXPECT_EQ(loadError("[SpeedLimit]\n60,1,1,500,0\n#\n"), routeError("[SpeedLimit]", "60,1,1,500,0"));
    EXPECT_EQ(loadError("[Station]\nA,0,100\n#\n"), routeError("[Station]", "A,0,100"));
    EXPECT_EQ(loadError("[SpeedUnit]\n0,30,fast,72\n#\n"), routeError("[SpeedUnit]", "0,30,fast,72"));
    EXPECT_EQ(loadError("[Slope]\n1.2.3,0,10\n#\n"), routeError("[Slope]", "1.2.3,0,10"));
    // A tunnel would hold the train back with more than its weight.
    EXPECT_EQ(loadError("[TunnelR]\n1001\n"), routeError("[TunnelR]", "1001"));
    EXPECT_EQ(loadError("[TunnelR]\n-1\n"), routeError("[TunnelR]", "-1"));
}

// The ten single-value keys set no label of their own.
TEST_F(RouteFileTest, UnlabelledKeysReportTheLabelOfTheKeyBeforeThem)
{
    EXPECT_EQ(loadError("[StartPos]\nabc\n"), routeError("その他", "abc"));
    EXPECT_EQ(loadError("[Friction]\n0.3x\n"), routeError("その他", "0.3x"));
    EXPECT_EQ(loadError("[Perspective]\n1.0\nfar\n"), routeError("[Speed_Signal]", "far"));
    EXPECT_EQ(loadError("[OneMan]\nyes\n"), routeError("[Pre_Train]", "yes"));
    EXPECT_EQ(loadError("[Monitor]\ntrain.dat\nleft\n"), routeError("[SoundData]", "left"));
    // Every top-level line starts again from "その他", whatever was read before.
    EXPECT_EQ(loadError("[Signal]\n#\n[FrameRate]\nx\n"), routeError("その他", "x"));
    EXPECT_EQ(loadError("[SpeedUnit]\n0,1,0,0\n"), routeError("[SpeedUnit]", "0,1,0,0"));
}

TEST_F(RouteFileTest, MissingFileReportsAnEmptyLineAndNamesTheFile)
{
    try {
        loadRoute(RouteSource{programFolder(), "line_up.dat", "train.dat", 0}, pictures);
        ADD_FAILURE() << "a missing file loaded";
    } catch (const LoadError& error) {
        EXPECT_EQ(std::string(error.what()),
                  routeError("その他", "") + "\nファイル " + programFolder() + "line_up.dat を開けません。");
    }
}

TEST_F(RouteFileTest, KankoSound1TakesExactly22LinesWhateverTheyHold)
{
    std::string voices;
    for (int k = 0; k < 22; ++k)
        voices += (k == 3 ? "#" : k == 4 ? "" : "v" + std::to_string(k) + ".wav") + "\n";
    const auto route = load("[KankoSound1]\n" + voices + "[OneMan]\n1\n[KankoSound2]\nn0.wav\nn1.wav\n#\n");
    EXPECT_EQ(route->kankoVoices[0].file, "v0.wav");
    EXPECT_EQ(route->kankoVoices[3].file, "#");
    EXPECT_EQ(route->kankoVoices[4].file, "");
    EXPECT_EQ(route->kankoVoices[21].file, "v21.wav");
    EXPECT_EQ(route->oneMan, 1);
    ASSERT_EQ(route->kankoSound2Count, 2u);
    EXPECT_EQ(route->kankoVoices[23].file, "n1.wav");
    EXPECT_EQ(route->kankoVoices[23].ordinal, 1);
}

TEST_F(RouteFileTest, MonitorIsReadOnlyForTheRunningVehicle)
{
    // For another vehicle the block is its name alone: [OneMan] is read as a key.
    auto route = load("[Monitor]\nother.dat\n[OneMan]\n1\n");
    EXPECT_FALSE(route->monitor.has_value());
    EXPECT_EQ(route->oneMan, 1);

    pictures.add("mon.bmp", 320, 32);
    route = load("[Monitor]\ntrain.dat\n600\n400\n64\n32\nimage\\mon.bmp\n");
    ASSERT_TRUE(route->monitor.has_value());
    EXPECT_EQ(route->monitor->x, 600);
    EXPECT_EQ(route->monitor->patternHeight, 32);
    ASSERT_TRUE(route->monitor->picture.has_value());
    EXPECT_EQ(route->monitor->picture->width, 320);
    EXPECT_EQ(pictures.requested.back(), programFolder() + "image/mon.bmp");

    route = load("[Monitor]\ntrain.dat\n1\n2\n3\n4\n\n");
    ASSERT_TRUE(route->monitor.has_value());
    EXPECT_FALSE(route->monitor->picture.has_value());

    EXPECT_EQ(loadError("[Monitor]\ntrain.dat\n1\n2\n3\n4\nnone.bmp\n"), routeError("[SoundData]", "none.bmp"));
}

TEST_F(RouteFileTest, ListLeftOpenAtEndOfFileIsAnError)
{
    EXPECT_EQ(loadError("[Signal]\n" + intRowText(22, 0) + "\n"), routeError("[Signal]", intRowText(22, 0)));
    EXPECT_EQ(loadError("[OtherKanko]\na.wav"), routeError("[OtherKanko]", "a.wav"));
    EXPECT_EQ(loadError("[SpeedUnit]"), routeError("[SpeedUnit]", "[SpeedUnit]"));
}

TEST_F(RouteFileTest, TableCapacitiesAreEnforced)
{
    auto stations = [](int count) {
        return "[Station]\n" + repeatedRows(count, [](int k) { return stationRowText("S" + std::to_string(k)); }) + "#\n";
    };
    EXPECT_EQ(load(stations(501))->stations.size(), 501u);
    EXPECT_EQ(loadError(stations(502)), routeError("[Station]", stationRowText("S502")));

    auto sounds = [](int count) {
        return "[SoundData]\n" + repeatedRows(count, [](int k) { return "s" + std::to_string(k) + ".wav"; }) + "#\n";
    };
    EXPECT_EQ(load(sounds(100))->soundData.size(), 100u);
    EXPECT_EQ(loadError(sounds(101)), routeError("[SoundData]", "s101.wav"));
    // 320 channels in all, the vehicle's and the two call-out channels included.
    EXPECT_EQ(load(sounds(18), 300)->soundData.size(), 18u);
    EXPECT_EQ(loadError(sounds(19), 300), routeError("[SoundData]", "s19.wav"));

    auto numbered = [](int count) {
        return "[KankoSound2]\n" + repeatedRows(count, [](int k) { return "n" + std::to_string(k) + ".wav"; }) + "#\n";
    };
    EXPECT_EQ(load(numbered(478))->kankoSound2Count, 478u);
    EXPECT_EQ(loadError(numbered(479)), routeError("[KankoSound2]", "n479.wav"));

    // 500 rows with the header among them.
    auto announces = [](int count) {
        return "[Announce]\n0\n" + repeatedRows(count, [](int k) { return intRowText(3, k) + ",9"; }) + "#\n";
    };
    EXPECT_EQ(load(announces(499))->announceCount(), 499u);
    EXPECT_EQ(loadError(announces(500)), routeError("[Announce]", intRowText(3, 500) + ",9"));
}

TEST_F(RouteFileTest, RepeatedKeyRestartsItsTableButPictureListsAppend)
{
    pictures.add("a.bmp", 100, 75);
    pictures.add("b.bmp", 200, 75);
    pictures.add("c.bmp", 40, 20);
    const auto route = load(
        "[Station]\n" + stationRowText("A") + "\n" + stationRowText("B") + "\n#\n"
        "[KankoSound2]\nx.wav\ny.wav\n#\n"
        "[AnimImageList]\na.bmp\n#\n[CrossImageList]\nc.bmp\n#\n"
        "[Station]\n" + stationRowText("C") + "\n#\n"
        "[KankoSound2]\nz.wav\n#\n"
        "[AnimImageList]\nb.bmp\n#\n[CrossImageList]\na.bmp\n#\n");
    ASSERT_EQ(route->stations.size(), 1u);
    EXPECT_EQ(route->stations[0].name, "C");
    EXPECT_EQ(route->kankoSound2Count, 1u);
    EXPECT_EQ(route->kankoVoices[22].file, "z.wav");
    ASSERT_EQ(route->animPictures.size(), 2u);
    EXPECT_EQ(route->animPictures[0].width, 100);
    EXPECT_EQ(route->animPictures[1].width, 200);
    ASSERT_EQ(route->crossPictures.size(), 2u);
    EXPECT_EQ(route->crossPictures[0].height, 20);
    EXPECT_EQ(route->crossPictures[1].height, 75);

    EXPECT_EQ(loadError("[TrafficSignalImageList]\na.bmp\nmissing.bmp\n#\n"),
              routeError("[TrafficSignalImageList]", "missing.bmp"));
}

TEST_F(RouteFileTest, SignAndSignalPicturesAreMadeWithTheirOwnMessages)
{
    const std::vector<std::string> signFiles = {"stop", "s", "m", "e", "slope", "limit", "remain", "other"};
    const std::vector<std::string> signalFiles = {"signal", "sub_s", "sub_l", "sub_r"};
    auto text = [&](const std::string& missing) {
        std::string t = "[SignImageList]\n";
        for (std::size_t k = 0; k < signFiles.size(); ++k)
            t += (signFiles[k] == missing ? "gone" : signFiles[k]) + ".bmp," + std::to_string(10 + k) + "\n";
        t += "[SignalImageList]\n520,40,";
        for (const std::string& file : signalFiles)
            t += "20,40," + (file == missing ? "gone" : file) + ".bmp\n";
        return t;
    };
    for (const auto& file : signFiles)
        pictures.add(file + ".bmp", 32, 32);
    for (const auto& file : signalFiles)
        pictures.add(file + ".bmp", 80, 40);

    const auto route = load(text(""));
    ASSERT_TRUE(route->signPictures && route->signalPictures);
    EXPECT_EQ((*route->signPictures)[7].file, "other.bmp");
    EXPECT_EQ((*route->signPictures)[7].size, 17);
    EXPECT_EQ((*route->signPictures)[0].picture.width, 32);
    const SignalPicture& signal = (*route->signalPictures)[0];
    EXPECT_EQ(signal.x, 520);
    EXPECT_EQ(signal.y, 40);
    EXPECT_EQ(signal.height, 40);
    EXPECT_EQ((*route->signalPictures)[3].file, "sub_r.bmp");
    EXPECT_EQ((*route->signalPictures)[3].picture.width, 80);

    const std::vector<std::string> names = {"停目", "停止線S", "停止線M", "停止線E", "勾配標", "制限標",
                                            "残り距離表示", "その他標識", "信号機", "サブ信号機0", "サブ信号機1",
                                            "サブ信号機2"};
    for (std::size_t k = 0; k < names.size(); ++k) {
        const std::string& missing = k < signFiles.size() ? signFiles[k] : signalFiles[k - signFiles.size()];
        EXPECT_EQ(loadError(text(missing)), names[k] + "の生成エラー");
    }
    EXPECT_EQ(loadError("[SignImageList]\n,32\n"), "停目の生成エラー");
    EXPECT_EQ(loadError("[SignImageList]\nstop.bmp,big\n"), routeError("[SignImageList]", "stop.bmp,big"));
    EXPECT_EQ(loadError("[SignalImageList]\n1,2,3,signal.bmp\n"), routeError("[SignalImageList]", "1,2,3,signal.bmp"));
}

TEST_F(RouteFileTest, WindowsEncodedFileDecodesToUtf8)
{
    const auto route = loadRoute(RouteSource{CABDRIVE_TEST_DATA "/route/", "cp932_crlf.dat", "train.dat", 0}, pictures);
    EXPECT_EQ(route->lineName, "東西線");
    EXPECT_EQ(route->dataName, "tozai_上り");
    ASSERT_EQ(route->stations.size(), 2u);
    EXPECT_EQ(route->stations[0].name, "東京");
    EXPECT_EQ(route->stations[1].name, "新～大阪");
    EXPECT_EQ(route->stations[1].doorSoundChance, 0);
    EXPECT_EQ(route->otherKankos[0], "kanko\\発車①.wav");
}

// The two route files of the data folder that cabdrive-check summarises.
TEST_F(RouteFileTest, CheckedDataFolderRoutesLoadCompletely)
{
    for (const char* name : {"staf", "opening", "sub", "stop", "stop_s", "stop_m", "stop_e", "slope", "limit",
                             "remain", "other", "signal", "sub_s", "sub_l", "sub_r", "anim", "traffic", "cross"})
        pictures.add(std::string(name) + ".bmp", 20, 20);
    pictures.add("monitor.bmp", 320, 32);
    for (const char* file : {"line_down.dat", "line_up.dat"}) {
        auto route = loadRoute(RouteSource{CABDRIVE_TEST_DATA "/check/", file, "train_E231_5B.dat", 40}, pictures);
        deriveDistances(*route);
        EXPECT_EQ(route->lineName, "みどり線") << file;
        ASSERT_EQ(route->stations.size(), 5u) << file;
        for (std::size_t k = 1; k < 5; ++k)
            EXPECT_GT(route->stations[k].stopDistance, route->stations[k - 1].stopDistance) << file;
        EXPECT_TRUE(route->monitor && route->monitor->picture) << file;
        EXPECT_TRUE(route->signPictures && route->signalPictures) << file;
        EXPECT_EQ(route->signals.size(), 5u) << file;
        EXPECT_EQ(route->patternTargets.size(), 5u + 1u + 3u) << file;
        EXPECT_EQ(route->kankoVoices[21].file, "kanko\\k21.wav") << file;
    }
}

}  // namespace
}  // namespace cabdrive
