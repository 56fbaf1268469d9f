// Writing the three vehicle files.
#include "vehicle_writer.h"

#include <algorithm>
#include <functional>

#include "cab_panel_painter.h"
#include "data_text_file.h"
#include "data/settings.h"
#include "data/vehicle_file.h"
#include "sim/notch_words.h"
#include "sound_synth.h"

namespace cabdrive::demo {

namespace {

using Values = std::vector<std::string>;

struct KeyValues {
    std::string key;
    Values values;
};

// A motor or engine sound row of [EngineSound1]: activity 0 power, 1 brake,
// 2 always; three speeds (km/h, or engine speed on a diesel), three pitch
// ratios and three volumes in percent.
struct MotorSound {
    std::string file;
    std::function<Wave()> make;
    int activity;
    Values speeds, ratios, volumes;
};

struct Design {
    std::string folder;  // "" or "name\\"
    std::string fileName;
    std::vector<std::string> header;  // the comment lines at the top of the file
    std::string soundFolder;  // relative to the vehicle folder
    std::vector<KeyValues> scalars;
    int brakeNotches = 0;
    int powerNotches = 0;
    std::string emergencySecondLine;  // [Sound_EB] second line
    std::vector<MotorSound> motors;
    DataText traction;  // the tables of the traction model
    // Further sounds of the vehicle's own (file relative to its folder) that
    // the traction tables name.
    std::vector<std::pair<std::string, std::function<Wave()>>> ownSounds;
    PanelDesign panel;
};

// The keys every vehicle shares: per-notch sounds and single sounds on the
// route's channels, the points clack.
void writeSoundKeys(DataText& out, const Design& d)
{
    const auto repeated = [&out](const char* key, int count, int channel) {
        out.line(key);
        for (int k = 0; k < count; ++k)
            out.row(channel);
    };
    out.line("; sounds: channel numbers (13 running-sound bands, then the route's [SoundData])");
    repeated("[Sound_BK]", d.brakeNotches, envChannel(EnvSound::brakeRelease));
    repeated("[Sound_BR]", d.brakeNotches, envChannel(EnvSound::brakeStep));
    repeated("[Sound_BA]", d.brakeNotches, envChannel(EnvSound::brakeApplyPuff));
    repeated("[Sound_PA]", d.powerNotches, envChannel(EnvSound::powerNotch));
    repeated("[Sound_PR]", d.powerNotches, envChannel(EnvSound::brakeNotch));
    out.line("[Sound_EB]").row(envChannel(EnvSound::emergencyExhaust)).line(d.emergencySecondLine);
    out.line("[Sound_Apply]").row(envChannel(EnvSound::autoBrakeApply)).row(envChannel(EnvSound::pipeCharge));
    const std::pair<const char*, EnvSound> singles[] = {
        {"[Sound_Ats1]", EnvSound::atsBell},         {"[Sound_Ats2]", EnvSound::atsChime},
        {"[Sound_Ats3]", EnvSound::atsAck},          {"[Sound_Atc]", EnvSound::atcBell},
        {"[Sound_Horn]", EnvSound::horn},            {"[Sound_Horn2]", EnvSound::whistle},
        {"[Sound_Horn3]", EnvSound::shortHorn},      {"[Sound_DoorOpen]", EnvSound::doorOpen},
        {"[Sound_DoorClose]", EnvSound::doorClose},  {"[Sound_EBring]", EnvSound::vigilanceAlarm},
        {"[Sound_squeak]", EnvSound::squeal},        {"[CP_Start]", EnvSound::compressorStart},
        {"[CP_Cnt]", EnvSound::compressorRun},       {"[CP_End]", EnvSound::compressorEnd},
        {"[Stop]", EnvSound::stopAlert},             {"[Buzzer]", EnvSound::buzzer},
        {"[DepSign]", EnvSound::departureBuzzer},    {"[ATS_Warn]", EnvSound::atsWarning},
    };
    for (const auto& [key, sound] : singles)
        out.line(key).row(envChannel(sound));
    // Attack, two sustains that alternate, release; then the overlap time in
    // 1/30 s and the horn's air time.
    out.line("[Sound_Horn4]")
        .row(envChannel(EnvSound::hornAttack)).row(envChannel(EnvSound::hornSustain))
        .row(envChannel(EnvSound::hornSustain2)).row(envChannel(EnvSound::hornRelease))
        .row(12).row(30);
    out.line("; below 40 km/h and above: the wheels over the points").line("[SwitchSound]")
        .row(40, 1, envChannel(EnvSound::pointsClack)).row(999, 1, envChannel(EnvSound::pointsClack)).line("#");
}

void writeRunningSounds(DataText& out, const Design& d, SoundCatalogue& catalogue)
{
    if (!d.motors.empty()) {
        out.line("; motor sounds: activity, three speeds, three pitch ratios, three volumes").line("[EngineSound1]");
        for (const MotorSound& m : d.motors) {
            const std::string file = d.soundFolder + m.file;
            catalogue.add(d.folder + file, m.make);
            out.line(file).row(m.activity);
            for (const Values* list : {&m.speeds, &m.ratios, &m.volumes})
                for (const std::string& v : *list)
                    out.line(v);
        }
        out.line("#");
    }
    out.line("; running sound by speed band, 10 km/h each").line("[DriveSound]");
    for (int band = 0; band < driveBandCount; ++band) {
        const std::string file = d.soundFolder + "run" + (band < 10 ? "0" : "") + std::to_string(band) + ".wav";
        catalogue.add(d.folder + file, [band] { return runningBand(band, driveBandCount); });
        out.line(file);
    }
    out.line("#");
}

// Everything but the cab panel.
DataText vehicleText(const Design& d, SoundCatalogue& catalogue)
{
    DataText out;
    for (const std::string& line : d.header)
        out.line(line);
    out.line();
    for (const KeyValues& kv : d.scalars) {
        out.line(kv.key);
        for (const std::string& v : kv.values)
            out.line(v);
    }
    writeSoundKeys(out, d);
    out.append(d.traction);
    for (const auto& [file, make] : d.ownSounds)
        catalogue.add(d.folder + file, make);
    writeRunningSounds(out, d, catalogue);
    return out;
}

// The notch strips show what the readouts say: their cells are the words the
// program shows for each handle position of the vehicle as it loads it, so
// the vehicle is written without its panel, loaded, and then completed.
void writeVehicle(const std::string& dataFolder, const Design& d, const Settings& settings, SoundCatalogue& catalogue)
{
    std::string path = d.folder + d.fileName;
    std::replace(path.begin(), path.end(), '\\', '/');
    path = dataFolder + "/" + path;
    DataText text = vehicleText(d, catalogue);
    writeDataText(path, text.text());
    NoPictureLoader noPictures;
    VehicleSpec loaded = loadVehicle(dataFolder + "/" + d.folder, d.fileName, noPictures);
    checkVehicleAfterLoading(loaded);
    const NotchStripWords strips = notchStripWords(settings, loaded);
    PanelDesign panel = d.panel;
    panel.powerWords = strips.power;
    panel.brakeWords = strips.brake;
    text.line("; cab panel below the 800 x 600 view");
    text.append(paintCabPanel(dataFolder, panel));
    writeDataText(path, text.text());
}

// Scalars in the loader's order: controller, brake rates, air, train, protection.
std::vector<KeyValues> scalars(const Values& controller, const Values& rates, const Values& train, const Values& protection)
{
    static const char* const controllerKeys[] = {"[Handle]", "[BrakeType]", "[BrakeType2]", "[Brake]", "[Power]",
                                                 "[NotchBack]", "[Hold]", "[Pull]", "[Const]", "[Back]"};
    static const char* const rateKeys[] = {"[BrakeRate]", "[BrakeRate2]", "[PowerDelay]", "[BrakeDelay]",
                                           "[EBrakeDelay]", "[PowerJerk]", "[SAPDelay]", "[BrakeUp]", "[BrakeDown]",
                                           "[SAPUp]", "[SAPDown]", "[EBrakeUp]", "[EBrakeDown]", "[EBrakeCurr]",
                                           "[BPReturn]", "[MAXPress]", "[EBPress]", "[SAPPress]", "[HighAirPress]",
                                           "[LowAirPress]"};
    static const char* const trainKeys[] = {"[Engine_Type]", "[DoorLock]", "[Power_Type]", "[Brake_Type]", "[DoorType]",
                                            "[Mt]", "[Tt]", "[Tct]", "[Cars]", "[Tons]", "[EB]", "[MaxSpeed]",
                                            "[Lose_elec]", "[ELBR]", "[Mc]"};
    static const char* const protectionKeys[] = {"[ATS_Type]", "[ATS_Alert]", "[ATS_Time]", "[ATS_Cnt]"};
    std::vector<KeyValues> out;
    const auto add = [&out](const auto& keys, const Values& values) {
        std::size_t v = 0;
        for (const char* key : keys) {
            // [Const] holds two values, [BrakeRate] three: separated by "/".
            Values entry;
            std::string text = values.at(v++);
            for (std::size_t cut; (cut = text.find('/')) != std::string::npos; text = text.substr(cut + 1))
                entry.push_back(text.substr(0, cut));
            entry.push_back(text);
            out.push_back({key, entry});
        }
    };
    add(controllerKeys, controller);
    add(rateKeys, rates);
    add(trainKeys, train);
    add(protectionKeys, protection);
    return out;
}

const std::vector<int> cabSignalSpeeds = {0, 25, 45, 65, 85, 110};

Design e231()
{
    Design d;
    d.fileName = "train_E231_5B.dat";
    d.header = {
        "E231 5両: 2ハンドル, 電磁直通ブレーキ+電気ブレーキ, ATS-P (pattern type), 抑速, 定速",
        "Generated by demo-line. Sound numbers are channels: 13 running-sound bands, then the route's [SoundData].",
    };
    d.soundFolder = "sound\\e231\\";
    d.scalars = scalars({"1", "1", "1", "8", "6", "0", "1", "0", "2/30", "1"},
                        {"4.2/3.8/0.5", "0.95", "2", "3", "1", "10", "2", "200", "180", "240", "220", "300", "320",
                         "400", "60", "440", "520", "390", "880", "780"},
                        {"1", "1", "1", "1", "0", "69.0", "26.8", "54.8", "5", "150.6", "1", "120", "5", "50", "1"},
                        {"1", "0", "5", "1"});
    d.brakeNotches = 8;
    d.powerNotches = 6;
    d.emergencySecondLine = "; the emergency exhaust only from the handle";
    d.traction.line("; acceleration by notch: km/h/s at 0 and at the base speed, base and curve speeds, decay, group")
        .line("[Notch]");
    // One row per power notch. Mode P, notches 1-4: starting at most
    // 2.5 km/h/s, which the motor cars' adhesion holds. Mode 抑速, notches
    // 5-6: regenerative holding on the long gradients, a negative
    // acceleration between 20 and 100 km/h.
    const Values notchRows[] = {{"1.2", "1.0", "20", "30", "0.97", "0"},
                                {"2.0", "1.8", "30", "45", "0.97", "0"},
                                {"2.5", "2.3", "38", "60", "0.98", "0"},
                                {"2.5", "2.4", "45", "80", "0.985", "0"},
                                {"-1.0", "0", "20", "100", "1", "1"},
                                {"-2.0", "0", "20", "100", "1", "1"}};
    for (const Values& row : notchRows)
        for (const std::string& v : row)
            d.traction.line(v);
    d.traction.line("#")
        .line("; electric brake current by brake notch").line("[BrakeCurr]");
    for (const int a : {0, 150, 200, 250, 300, 350, 400, 0})
        d.traction.row(a);
    // Mode names are short: the power readout has little room before the brake readout.
    d.traction.line("#").line("[PowerMode]").row("P", "P").row("抑", "抑").line("#");
    d.motors = {
        {"motor_low.wav", [] { return motorWhine(300); }, 0, {"0", "40", "90"}, {"0.5", "1.0", "2.0"}, {"60", "90", "100"}},
        {"motor_high.wav", [] { return motorWhine(620); }, 0, {"30", "70", "120"}, {"0.6", "1.0", "1.6"}, {"20", "80", "90"}},
        {"motor_brake.wav", [] { return motorWhine(340); }, 1, {"5", "50", "110"}, {"0.5", "1.1", "2.0"}, {"40", "80", "90"}},
        {"gear.wav", [] { return motorWhine(900); }, 2, {"10", "60", "120"}, {"0.4", "1.0", "1.8"}, {"10", "30", "50"}},
    };
    d.panel = {"", "panel\\e231\\", "E231  5両", 120, 0, true, false, {}, {}, {"—"}, {"—"}, cabSignalSpeeds};
    return d;
}

Design diesel()
{
    Design d;
    d.folder = "diesel\\";
    d.fileName = "kiha_W100_1B.dat";
    d.header = {
        "キハW100 単行気動車: 2ハンドル, 手動変速, 自動空気ブレーキ, ATS-S 速度照査付 (spot type with speed checks)",
        "Generated by demo-line. Sound numbers are channels: 13 running-sound bands, then the route's [SoundData].",
    };
    d.soundFolder = "sound\\";
    d.scalars = scalars({"1", "0", "0", "5", "4", "0", "0", "1", "0/0", "1"},
                        {"3.5/3.2/0.5", "0.9", "3", "5", "1", "8", "0", "150", "120", "0", "0", "0", "0", "0", "40",
                         "380", "420", "0", "880", "690"},
                        {"0", "1", "0", "0", "1", "36.0", "0", "0", "1", "36.0", "1", "95", "0", "0", "0"},
                        {"0", "1", "5", "0"});
    d.brakeNotches = 5;
    d.powerNotches = 4;
    d.emergencySecondLine = "40";
    // Neutral, the torque converter and direct drive: the lever's three positions.
    d.traction.line("; gears: engine speed at a stand and per km/h").line("[EngineRate]")
        .row(0, "0").row(35, "1.1").row(0, "0.95").line("#")
        .line("[Gear_Type]").line("MT")
        .line("; by gear: three speeds km/h, three tractive efforts kgf").line("[Engine]");
    const Values engineRows[] = {{"0", "0", "0", "0", "0", "0"},
                                 {"0", "25", "55", "1800", "1300", "500"},
                                 {"30", "55", "100", "900", "700", "250"}};
    for (const Values& row : engineRows)
        for (const std::string& v : row)
            d.traction.line(v);
    d.traction.line("#");
    // The engine's start and stop sounds, and a turbocharger whine that follows the engine speed.
    d.traction.line("[EngineSound2]")
        .row(envChannel(EnvSound::engineStart)).row(envChannel(EnvSound::engineStop))
        .row(envChannel(EnvSound::compressorStart)).row(envChannel(EnvSound::compressorEnd))
        .line("; turbocharger: file, two integers, three engine speeds, three pitch ratios").line("[EngineSound3]")
        .line("sound\\turbo.wav").row(0).row(1).line("40").line("70").line("95").line("0.8").line("1.2").line("1.6").line("#");
    d.ownSounds.push_back({"sound\\turbo.wav", [] { return motorWhine(1500); }});
    d.motors = {
        {"engine_idle.wav", [] { return dieselEngine(12); }, 2, {"25", "30", "60"}, {"0.8", "1.0", "1.6"}, {"70", "70", "40"}},
        {"engine_run.wav", [] { return dieselEngine(20); }, 0, {"30", "60", "95"}, {"0.7", "1.2", "1.9"}, {"30", "80", "100"}},
    };
    d.panel = {"diesel\\", "panel\\", "キハW100", 100, 0, false, true, {}, {},
               {"中立", "変速", "直結"}, {"中立", "変速", "直結"}, cabSignalSpeeds};
    return d;
}

Design currentModelTrain()
{
    Design d;
    d.folder = "ecs\\";
    d.fileName = "train_W3000_4B.dat";
    d.header = {
        "W3000形 4両: ワンハンドル, 電流制御 (current model), 電気ブレーキ電流表, 車内信号 (cab signalling)",
        "Generated by demo-line. Sound numbers are channels: 13 running-sound bands, then the route's [SoundData].",
    };
    d.soundFolder = "sound\\";
    d.scalars = scalars({"0", "1", "1", "7", "5", "1", "0", "0", "3/25", "1"},
                        {"4.0/3.6/0.5", "0.92", "1", "2", "1", "12", "2", "220", "200", "260", "240", "350", "350",
                         "450", "60", "420", "500", "380", "880", "780"},
                        {"1", "1", "0", "0", "0", "66.0", "0", "52.5", "4", "118.5", "1", "110", "6", "60", "0"},
                        {"2", "0", "3", "1"});
    d.brakeNotches = 7;
    d.powerNotches = 5;
    d.emergencySecondLine = "; the emergency exhaust only from the handle";
    d.traction.line("[Notch]");
    for (int notch = 1; notch <= 5; ++notch)  // a row per notch, all in one mode
        for (const std::string& v : Values{"3.2", "3.0", "35", "60", "0.98", "0"})
            d.traction.line(v);
    d.traction.line("#")
        .line("; limit current A, km/h/s at it, km/h it holds to; then steps: notch, A x km/h, km/h offset, -")
        .line("[CurrentP]").row(400).line("3.0").line("35")
        .row(1, "8000", "-20", 0).row(2, "12000", "-10", 0).row(3, "16000", "0", 0).row(4, "22000", "5", 0)
        .row(5, "30000", "10", 0).line("#")
        .line("; electric brake steps: divisor, km/h offset, -").line("[CurrentB]")
        .row("0.1", "5", 0).row("0.12", "5", 0).row("0.15", "5", 0).line("#")
        .line("[PowerMode]").row("P", "P").line("#");
    d.motors = {
        {"inverter.wav", [] { return motorWhine(420); }, 0, {"0", "35", "110"}, {"0.6", "1.2", "2.2"}, {"70", "95", "90"}},
        {"inverter_brake.wav", [] { return motorWhine(380); }, 1, {"6", "40", "110"}, {"0.6", "1.2", "2.2"}, {"50", "85", "90"}},
    };
    d.panel = {"ecs\\", "panel\\", "W3000  4両", 120, 3.0, true, true, {}, {}, {"—"}, {"—"}, cabSignalSpeeds};
    return d;
}

}  // namespace

std::vector<VehicleEntry> demoVehicles()
{
    std::vector<VehicleEntry> out;
    for (const Design& d : {e231(), diesel(), currentModelTrain()})
        out.push_back({d.folder + d.fileName, d.header.front()});
    return out;
}

void writeVehicles(const std::string& dataFolder, SoundCatalogue& catalogue)
{
    const Settings settings = loadSettings(dataFolder + "/");
    for (const Design& d : {e231(), diesel(), currentModelTrain()})
        writeVehicle(dataFolder, d, settings, catalogue);
}

}  // namespace cabdrive::demo
