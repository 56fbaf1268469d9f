// cabdrive-check: loading and summarising a data folder.
#include "data_folder_check.h"

#include <cstdio>
#include <string_view>

#include "common/clock_text.h"
#include "common/load_error.h"
#include "data/data_folder.h"
#include "data/mascon_map.h"
#include "data/route_distances.h"
#include "data/settings.h"
#include "data/vehicle_file.h"

namespace cabdrive {

namespace {

std::string metres(std::int64_t cm)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(cm) / 100.0);
    return text;
}

std::string tonnes(fixed4 mass)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4Lf", mass.value());
    return text;
}

const char* stationKindText(std::int32_t kind)
{
    switch (kind) {
    case 0: return "stop";
    case 1: return "pass";
    case 2: return "stop, no service";
    case 3: return "special";
    default: return "unknown kind";
    }
}

const char* brakeKindText(const VehicleSpec& v)
{
    return v.brakeType == 0 ? "automatic air brake" : "notched brake";
}

const char* protectionText(std::int32_t atsType)
{
    switch (atsType) {
    case 0: return "spot type";
    case 1: return "pattern type";
    case 2: return "cab signalling";
    default: return "unknown type";
    }
}

// Row counts of tables, a few to a line.
class TableCounts {
public:
    explicit TableCounts(std::ostream& out) : m_out(out) {}
    ~TableCounts()
    {
        if (m_count > 0)
            m_out << "\n";
    }

    void add(std::string_view key, std::size_t rows)
    {
        m_out << (m_count == 0 ? "  tables: " : m_count % perLine == 0 ? ",\n          " : ", ") << key << ' ' << rows;
        ++m_count;
    }

private:
    static constexpr std::size_t perLine = 8;
    std::ostream& m_out;
    std::size_t m_count = 0;
};


void printVehicle(std::ostream& out, const std::string& name, const VehicleSpec& v)
{
    out << "vehicle " << name << ": " << (v.engineType == 1 ? "electric" : "diesel") << ", " << v.cars << " cars, mass "
        << tonnes(v.trainMass) << " t\n";
    out << "  power notches " << v.powerNotches << ", brake notches " << v.brakeNotches << " (" << brakeKindText(v)
        << (v.brakeType2 > 0 ? ", electric brake" : "") << "), " << (v.handleType == 0 ? "one-handle" : "two-handle")
        << " controller\n";
    out << "  protection: " << protectionText(v.atsType) << (v.atsType == 0 && v.atsAlert == 1 ? " with speed checks" : "")
        << "\n";
    TableCounts counts(out);
    counts.add("[Notch]", v.notchTable.size());
    counts.add("[PowerMode]", v.powerModes.size());
    counts.add("[CurrentP]", v.currentP.size());
    counts.add("[BrakeCurr]", v.brakeCurr.size());
    counts.add("[CurrentB]", v.currentB.size());
    counts.add("[Engine]", v.engineTable.size());
    counts.add("[EngineRate]", v.engineRates.size());
    counts.add("[SwitchSound]", v.switchSounds.size());
    counts.add("[DriveSound]", v.driveSounds.size());
    counts.add("[EngineSound1]", v.engineSound1.size());
    counts.add("[EngineSound3]", v.engineSound3.size());
    counts.add("[Lamp_signal]", v.cabSignalCodes.size());
    counts.add("[Others]", v.otherPictures.size());
}

// Frames that lie in no [SpeedUnit] row get the distance 0: almost always a
// table that stops short of the line's objects.
template <typename Table, typename FrameOf>
void warnOutsideSpeedUnits(std::ostream& out, const RouteData& r, std::string_view key, const Table& table, FrameOf frameOf)
{
    for (std::size_t i = 0; i < table.size(); ++i) {
        const std::int32_t frame = frameOf(table[i]);
        if (!speedUnitRowByScan(r.speedUnits, frame))
            out << "  warning: " << key << " row " << i << " frame " << frame << " lies in no [SpeedUnit] row; its distance is 0\n";
    }
}

void printWarnings(std::ostream& out, const RouteData& r)
{
    for (std::size_t k = 1; k < r.speedUnits.size(); ++k) {
        if (r.speedUnits[k].fromFrame != r.speedUnits[k - 1].toFrame)
            out << "  warning: [SpeedUnit] row " << k << " starts at frame " << r.speedUnits[k].fromFrame
                << ", not where the row before it ends (" << r.speedUnits[k - 1].toFrame << ")\n";
    }
    warnOutsideSpeedUnits(out, r, "[Station]", r.stations, [](const Station& s) { return s.stopFrame; });
    warnOutsideSpeedUnits(out, r, "[Signal]", r.signals, [](const SignalRow& s) { return s.column(6); });
    warnOutsideSpeedUnits(out, r, "[SpeedLimit]", r.speedLimits, [](const SpeedLimitRow& l) { return l.column(4); });
    warnOutsideSpeedUnits(out, r, "[SpeedCheck1]", r.speedChecks1, [](const SpeedCheck1Row& c) { return c.column(3); });
    warnOutsideSpeedUnits(out, r, "[SpeedCheck2]", r.speedChecks2, [](const SpeedCheck2Row& c) { return c.column(3); });
}

void printRouteTables(std::ostream& out, const RouteData& r)
{
    TableCounts counts(out);
    counts.add("[StafSwitch]", r.stafSwitches.size());
    counts.add("[MovieStop]", r.movieStops.size());
    counts.add("[MovieSwitch]", r.movieSwitches.size());
    counts.add("[Speed_Signal]", r.speedSignals.size());
    counts.add("[Pre_Train]", r.preTrains.size());
    counts.add("[SoundData]", r.soundData.size());
    counts.add("[Announce]", r.announceCount());
    counts.add("[KankoSound2]", r.kankoSound2Count);
    counts.add("[Sound]", r.sounds.size());
    counts.add("[Sound2]", r.sound2s.size());
    counts.add("[Doppler]", r.dopplers.size());
    counts.add("[Tunnel]", r.tunnels.size());
    counts.add("[Atten]", r.attens.size());
    counts.add("[Station]", r.stations.size());
    counts.add("[StopSound]", r.stopSounds.size());
    counts.add("[Signal]", r.signals.size());
    counts.add("[TrafficSignal]", r.trafficSignals.size());
    counts.add("[Slope]", r.slopes.size());
    counts.add("[Sign]", r.signs.size());
    counts.add("[Anim]", r.anims.size());
    counts.add("[SignalKanko]", r.signalKankos.size());
    counts.add("[StationKanko]", r.stationKankos.size());
    counts.add("[SpeedLimit]", r.speedLimits.size());
    counts.add("[SpeedCheck1]", r.speedChecks1.size());
    counts.add("[SpeedCheck2]", r.speedChecks2.size());
    counts.add("[OtherKanko]", r.otherKankos.size());
    counts.add("[LimitKanko]", r.limitKankos.size());
    counts.add("[AnimImageList]", r.animPictures.size());
    counts.add("[TrafficSignalImageList]", r.trafficSignalPictures.size());
    counts.add("[SpeedUnit]", r.speedUnits.size());
    counts.add("[CrossImageList]", r.crossPictures.size());
    counts.add("[Cross]", r.crosses.size());
    counts.add("[Time]", r.times.size());
    counts.add("[Switch]", r.switches.size());
}

void printRoute(std::ostream& out, const std::string& fileName, const RouteData& r)
{
    out << "route " << fileName << ": " << r.lineName;
    if (!r.lineName2.empty())
        out << " / " << r.lineName2;
    out << "\n  video " << r.dataName << ".avi, start frame " << r.startPos << ", "
        << (r.oneMan != 0 ? "one-person operation" : "conductor operation") << "\n";
    out << "  stations " << r.stations.size() << ":\n";
    for (std::size_t i = 0; i < r.stations.size(); ++i) {
        const Station& s = r.stations[i];
        out << "    " << i << ' ' << s.name << ": kind " << s.kind << " (" << stationKindText(s.kind) << "), stop frame "
            << s.stopFrame << ", " << metres(s.stopDistance) << " m";
        // A train passing a station keeps no departure time there.
        if (s.kind != 1)
            out << ", departs " << clockText(s.departureTime);
        out << "\n";
    }
    printRouteTables(out, r);
    out << "  pattern targets " << r.patternTargets.size() << "\n";
    printWarnings(out, r);
}

}  // namespace

int checkDataFolder(const std::string& dataFolder, const std::string& vehicleFile, PictureLoader& pictures,
                    std::ostream& out, std::ostream& err)
{
    const DataFolder folder = locateDataFolder(dataFolder, vehicleFile);
    const std::string& programFolder = folder.programFolder;
    try {
        const MasconMap mascon = loadMasconMap(programFolder);
        const Settings settings = loadSettings(programFolder);
        VehicleSpec vehicle = loadVehicle(folder.vehicleFolder, folder.trainFileName, pictures);
        std::unique_ptr<RouteData> routes[2];
        const char* routeFiles[2] = {"line_down.dat", "line_up.dat"};
        for (int i = 0; i < 2; ++i)
            routes[i] = loadRouteFor(folder, routeFiles[i], vehicle, pictures);
        checkVehicleAfterLoading(vehicle);

        std::size_t masconSlots = 0;
        for (std::size_t k = 1; k <= MasconMap::slotCount; ++k)
            masconSlots += mascon.slot(k).empty() ? 0 : 1;
        out << "data folder " << programFolder << "\n";
        out << "settings: view " << settings.viewWidth << " x " << settings.viewHeight << ", video folder \""
            << settings.videoFolder << "\", " << settings.infoTexts.size() << " info texts\n";
        out << "controller map: " << masconSlots << " slots\n";
        printVehicle(out, vehicleFile.empty() ? std::string(defaultTrainFile) : vehicleFile, vehicle);
        for (int i = 0; i < 2; ++i)
            printRoute(out, routeFiles[i], *routes[i]);
        return 0;
    } catch (const LoadError& e) {
        err << e.what() << "\n";
        return 1;
    }
}

}  // namespace cabdrive
