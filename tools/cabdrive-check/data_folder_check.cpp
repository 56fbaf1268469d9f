// cabdrive-check: loading and summarising a data folder.
#include "data_folder_check.h"

#include <cstdio>
#include <string_view>

#include "common/clock_text.h"
#include "common/load_error.h"
#include "data/title_media.h"
#include "data_folder_warnings.h"
#include "platform/openal/silent_sound_device.h"
#include "ports/memory_key_value_store.h"
#include "run/run_builder.h"

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
}

}  // namespace

int checkDataFolder(const CheckRequest& request, PictureLoader& pictures, VideoReader& video, std::ostream& out,
                    std::ostream& err)
{
    const DataFolder folder = locateDataFolder(request.dataFolder, request.vehicleFile);
    SilentSoundDevice sound;  // reads every wave, as the program does
    NullShellRequests shell;
    MemoryKeyValueStore store;
    const RunPorts ports{pictures, sound, video, shell, store};
    const char* routeFiles[2] = {"line_down.dat", "line_up.dat"};
    const std::string vehicleName = request.vehicleFile.empty() ? std::string(defaultTrainFile) : request.vehicleFile;
    try {
        // The title screen comes before any run, and without its pictures
        // the program goes no further.
        if (const std::optional<std::string> refusal = startUpRefusal(folder.programFolder, pictures))
            throw LoadError(*refusal);
        Warnings warnings;
        warnOfTitle(folder.programFolder, pictures, warnings);
        // Each line as the program runs it, pictures, cab and video included.
        std::unique_ptr<LoadedRun> lines[2];
        for (int i = 0; i < 2; ++i) {
            RunSetup setup;
            setup.routeFileName = routeFiles[i];
            lines[i] = loadRun(folder, setup, ports);
            warnOfRoute(routeFiles[i], *lines[i], video, warnings);
        }
        const LoadedRun& first = *lines[0];
        warnOfSettings(first.settings, warnings);
        warnOfVehicle(vehicleName, first, warnings);

        std::size_t masconSlots = 0;
        for (std::size_t k = 1; k <= MasconMap::slotCount; ++k)
            masconSlots += first.mascon.slot(k).empty() ? 0 : 1;
        out << "data folder " << folder.programFolder << "\n";
        out << "settings: view " << first.settings.viewWidth << " x " << first.settings.viewHeight << ", video folder \""
            << first.settings.videoFolder << "\", " << first.settings.infoTexts.size() << " info texts\n";
        out << "controller map: " << masconSlots << " slots\n";
        printVehicle(out, vehicleName, first.vehicle);
        for (int i = 0; i < 2; ++i)
            printRoute(out, routeFiles[i], *lines[i]->route);
        for (const std::string& warning : warnings)
            out << "warning: " << warning << "\n";
        return request.strict && !warnings.empty() ? 1 : 0;
    } catch (const LoadError& e) {
        err << e.what() << "\n";
        return 1;
    }
}

}  // namespace cabdrive
