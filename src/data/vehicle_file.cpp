// Loading the vehicle file into VehicleSpec.
#include "data/vehicle_file.h"

#include <algorithm>
#include <string>
#include <vector>

#include "common/load_error.h"
#include "common/paths.h"
#include "data/reader_loop.h"

namespace cabdrive {

namespace {

constexpr std::string_view vehicleFileMessage = "車両ファイルに誤りがあります";
constexpr std::string_view basicSettingsLabel = "- 列車の基本設定";

// The message names the part of the file, never the line.
std::string vehicleMessage(std::string_view label, std::string_view)
{
    std::string message(vehicleFileMessage);
    message += label;
    return message;
}

KeyRule withLabel(std::string_view label, KeyRule rule)
{
    rule.label = label;
    return rule;
}

// The list keys and picture strips name themselves in the message.
KeyRule labelledByKey(KeyRule rule)
{
    rule.label = rule.key;
    return rule;
}

// --- single values ---

// One value line per target, in order.
KeyRule intKey(std::string_view key, std::vector<std::int32_t*> targets)
{
    return {key, std::nullopt, [targets = std::move(targets)](ValueReader& r) {
                for (std::int32_t* target : targets)
                    *target = r.intLine();
            }};
}

KeyRule fixed4Key(std::string_view key, std::vector<fixed4*> targets)
{
    return {key, std::nullopt, [targets = std::move(targets)](ValueReader& r) {
                for (fixed4* target : targets)
                    *target = r.fixed4Line();
            }};
}

KeyRule gearTypeKey(std::string_view key, std::int32_t& gearType)
{
    return {key, std::nullopt, [&gearType](ValueReader& r) {
                const std::string_view text = r.nextLine();
                // Anything but the two exact words leaves the gearbox as it was.
                if (text == "AT")
                    gearType = 0;
                else if (text == "MT")
                    gearType = 1;
            }};
}

// One sound channel per brake position or power notch, as many lines as the
// notch count read so far (none while it is below 1). A count beyond what the
// list holds is refused before any line is read.
template <std::size_t Capacity>
KeyRule notchSoundsKey(std::string_view key, FixedTable<std::int32_t, Capacity>& sounds, const std::int32_t& notches)
{
    return {key, std::nullopt, [&sounds, &notches](ValueReader& r) {
                if (notches > static_cast<std::int32_t>(Capacity))
                    r.fail();
                sounds.restart();
                for (std::int32_t i = 0; i < notches; ++i)
                    r.addRow(sounds, r.intLine());
            }};
}

// --- lists ---

std::int32_t currentInt(const ValueReader& r)
{
    return r.toIntOrFail(r.current());
}

long double currentDecimal(const ValueReader& r)
{
    return r.toDecimalOrFail(r.current());
}

template <std::size_t N>
std::array<long double, N> decimalLines(ValueReader& r)
{
    std::array<long double, N> values{};
    for (long double& value : values)
        value = r.decimalLine();
    return values;
}

// Fills `table` from row 0 with the rows of a list; readRow builds one row
// from the current line and the further lines of the row it reads itself.
template <typename Row, std::size_t Capacity, typename ReadRow>
void readTable(ValueReader& r, FixedTable<Row, Capacity>& table, ReadRow readRow)
{
    table.restart();
    r.list([&] { r.addRow(table, readRow(r)); });
}

template <typename Row, std::size_t Capacity, typename ReadRow>
KeyRule tableKey(std::string_view key, FixedTable<Row, Capacity>& table, ReadRow readRow)
{
    return {key, std::nullopt, [&table, readRow](ValueReader& r) { readTable(r, table, readRow); }};
}

SwitchSoundRow readSwitchSound(ValueReader& r)
{
    return {r.intField(1), r.intField(2), r.intField(3)};
}

EngineRateRow readEngineRate(ValueReader& r)
{
    return {r.intField(1), r.decimalField(2)};
}

// Braced initialisers run left to right, so the lines are read in file order.
NotchRow readNotchRow(ValueReader& r)
{
    return {currentDecimal(r), r.decimalLine(), r.intLine(), r.intLine(), r.decimalLine(), r.intLine()};
}

CurrentPRow readCurrentPRow(ValueReader& r)
{
    return {r.intField(1), r.decimalField(2), r.decimalField(3), r.intField(4)};
}

CurrentBRow readCurrentBRow(ValueReader& r)
{
    return {r.decimalField(1), r.decimalField(2), r.intField(3)};
}

EngineRow readEngineRow(ValueReader& r)
{
    return {currentInt(r), r.intLine(), r.intLine(), r.decimalLine(), r.decimalLine(), r.decimalLine()};
}

PowerModeRow readPowerMode(ValueReader& r)
{
    return {r.textField(1), r.textField(2)};
}

EngineSound1Row readEngineSound1Row(ValueReader& r)
{
    EngineSound1Row row;
    row.file = r.current();
    row.activity = r.intLine();
    row.speeds = decimalLines<3>(r);
    row.frequencyRatios = decimalLines<3>(r);
    row.volumePercents = decimalLines<3>(r);
    return row;
}

EngineSound3Row readEngineSound3Row(ValueReader& r)
{
    EngineSound3Row row;
    row.file = r.current();
    row.integers = {r.intLine(), r.intLine()};
    row.decimals = decimalLines<6>(r);
    return row;
}

// file, X, Y: the file line has been read already.
PanelPicture readPanelPicture(ValueReader& r, std::string file)
{
    return {std::move(file), r.intLine(), r.intLine()};
}

void readNotches(ValueReader& r, VehicleSpec& v)
{
    v.groupStart.restart();
    r.addRow(v.groupStart, 0);
    std::int32_t group = 0;
    readTable(r, v.notchTable, [&](ValueReader& reader) {
        const NotchRow row = readNotchRow(reader);
        // Any change of the group value opens the next group, whatever the
        // value jumps to; the new group starts at the row about to be added.
        if (row.notchGroup != group) {
            ++group;
            reader.addRow(v.groupStart, static_cast<std::int32_t>(v.notchTable.size()));
        }
        return row;
    });
    // The engine type as far as the file has been read.
    if (v.engineType == 0)
        throw LoadError("動力が気動車なのにNotch指定があります");
}

void readEngines(ValueReader& r, VehicleSpec& v)
{
    readTable(r, v.engineTable, readEngineRow);
    if (v.engineType == 1)
        throw LoadError("動力が電車なのにEngine指定があります");
}

void readCurrentP(ValueReader& r, VehicleSpec& v)
{
    v.currentPHead1 = r.intLine();
    v.currentPHead2 = r.decimalLine();
    v.currentPHead3 = r.decimalLine();
    readTable(r, v.currentP, readCurrentPRow);
}

// --- cab panel ---

KeyRule panelPictureKey(std::string_view key, PanelPicture& picture)
{
    return {key, std::nullopt, [&picture](ValueReader& r) { picture = readPanelPicture(r, r.textLine()); }};
}

void readNeedle(ValueReader& r, NeedleLayout& needle)
{
    needle.file = r.textLine();
    needle.x = r.intLine();
    needle.y = r.intLine();
    // Two numbers nothing uses; they must still be numbers.
    r.intLine();
    r.intLine();
    needle.offsetDeg = r.intLine();
    needle.degPerUnit = r.decimalLine();
}

KeyRule needleKey(std::string_view key, std::string_view label, NeedleLayout& needle)
{
    return {key, label, [&needle](ValueReader& r) { readNeedle(r, needle); }};
}

KeyRule linearGaugeKey(std::string_view key, std::string_view label, LinearGaugeLayout& gauge)
{
    return {key, label, [&gauge](ValueReader& r) {
                gauge.file = r.textLine();
                gauge.x = r.intLine();
                gauge.baseY = r.intLine();
                gauge.pixelsPerKpa = r.decimalLine();
            }};
}

// X, Y, pattern width, pattern height, file; the picture is loaded at once.
void readStrip(ValueReader& r, PictureStrip& strip, std::string_view folder, PictureLoader& pictures)
{
    strip.x = r.intLine();
    strip.y = r.intLine();
    strip.patternWidth = r.intLine();
    strip.patternHeight = r.intLine();
    strip.file = r.textLine();
    strip.picture.reset();
    if (strip.file.empty())
        return;
    strip.picture = loadDataPicture(pictures, joinPath(folder, strip.file));
    if (!strip.picture)
        r.fail();
}

KeyRule stripKey(std::string_view key, PictureStrip& strip, std::string_view folder, PictureLoader& pictures)
{
    return labelledByKey({key, std::nullopt, [&strip, folder, &pictures](ValueReader& r) {
                              readStrip(r, strip, folder, pictures);
                          }});
}

// An empty line takes a row but leaves the code that row held before.
void readCabSignalCodes(ValueReader& r, FixedTable<std::int32_t, 12>& codes)
{
    codes.restart();
    r.list([&] {
        if (!r.current().empty())
            r.addRow(codes, currentInt(r));
        else if (codes.full())
            r.fail();
        else
            r.addRow(codes, codes[codes.size()]);
    });
}

std::vector<KeyRule> vehicleRules(VehicleSpec& v, std::string_view folder, PictureLoader& pictures)
{
    return {
        withLabel(basicSettingsLabel, intKey("[Handle]", {&v.handleType})),
        intKey("[BrakeType]", {&v.brakeType}),
        intKey("[BrakeType2]", {&v.brakeType2}),
        intKey("[Brake]", {&v.brakeNotches}),
        intKey("[Power]", {&v.powerNotches}),
        intKey("[NotchBack]", {&v.notchBack}),
        intKey("[Hold]", {&v.holdNotch}),
        intKey("[Pull]", {&v.pullNotch}),
        intKey("[Const]", {&v.constNotch, &v.constMinSpeed}),
        intKey("[Back]", {&v.backFlag}),
        fixed4Key("[BrakeRate]", {&v.brakeRateA, &v.brakeRateB, &v.brakeRateC}),
        // Written like the other brake rates, so read as a fixed4 number.
        {"[BrakeRate2]", std::nullopt, [&v](ValueReader& r) { v.brakeRateAlt = r.fixed4Line().value(); }},
        intKey("[PowerDelay]", {&v.powerDelay}),
        intKey("[BrakeDelay]", {&v.brakeDelay}),
        intKey("[EBrakeDelay]", {&v.eBrakeDelay}),
        intKey("[PowerJerk]", {&v.powerJerk}),
        intKey("[SAPDelay]", {&v.sapDelay}),
        intKey("[BrakeUp]", {&v.brakeUp}),
        intKey("[BrakeDown]", {&v.brakeDown}),
        intKey("[SAPUp]", {&v.sapUp}),
        intKey("[SAPDown]", {&v.sapDown}),
        intKey("[EBrakeUp]", {&v.eBrakeUp}),
        intKey("[EBrakeDown]", {&v.eBrakeDown}),
        intKey("[EBrakeCurr]", {&v.eBrakeCurr}),
        intKey("[BPReturn]", {&v.bpReturn}),
        intKey("[MAXPress]", {&v.maxPress}),
        intKey("[EBPress]", {&v.ebPress}),
        intKey("[SAPPress]", {&v.sapPress}),
        intKey("[HighAirPress]", {&v.highAirPress}),
        intKey("[LowAirPress]", {&v.lowAirPress}),
        intKey("[Engine_Type]", {&v.engineType}),
        intKey("[DoorLock]", {&v.doorLock}),
        intKey("[Power_Type]", {&v.powerType}),
        intKey("[Brake_Type]", {&v.brakeTypeAlt}),
        intKey("[DoorType]", {&v.doorType}),
        fixed4Key("[Mt]", {&v.massMotor}),
        fixed4Key("[Tt]", {&v.massTrailer}),
        fixed4Key("[Tct]", {&v.massCab}),
        intKey("[Cars]", {&v.cars}),
        fixed4Key("[Tons]", {&v.trainMass}),
        intKey("[EB]", {&v.ebFlag}),
        intKey("[MaxSpeed]", {&v.maxSpeed}),
        intKey("[Lose_elec]", {&v.loseElec}),
        intKey("[ELBR]", {&v.elbrFlag}),
        intKey("[Mc]", {&v.bcSelect}),
        intKey("[ATS_Type]", {&v.atsType}),
        intKey("[ATS_Alert]", {&v.atsAlert}),
        intKey("[ATS_Time]", {&v.atsTime}),
        intKey("[ATS_Cnt]", {&v.atsCount}),
        notchSoundsKey("[Sound_BK]", v.soundBrakeBK, v.brakeNotches),
        notchSoundsKey("[Sound_BR]", v.soundBrakeBR, v.brakeNotches),
        notchSoundsKey("[Sound_BA]", v.soundBrakeBA, v.brakeNotches),
        notchSoundsKey("[Sound_PA]", v.soundPowerPA, v.powerNotches),
        notchSoundsKey("[Sound_PR]", v.soundPowerPR, v.powerNotches),
        {"[Sound_EB]", std::nullopt, [&v](ValueReader& r) {
             v.soundEb = r.intLine();
             // Files often leave the second sound out with a ";" remark.
             const std::string_view second = r.nextLine();
             v.soundEb2 = second.starts_with(';') ? 0 : r.toIntOrFail(second);
         }},
        intKey("[Sound_Apply]", {&v.soundApply1, &v.soundApply2}),
        intKey("[Sound_Ats1]", {&v.soundAts1}),
        intKey("[Sound_Ats2]", {&v.soundAts2}),
        intKey("[Sound_Ats3]", {&v.soundAts3}),
        intKey("[Sound_Atc]", {&v.soundAtc}),
        intKey("[Sound_Horn]", {&v.soundHorn}),
        intKey("[Sound_Horn2]", {&v.soundHorn2}),
        intKey("[Sound_Horn3]", {&v.soundHorn3}),
        {"[Sound_Horn4]", std::nullopt, [&v](ValueReader& r) {
             for (std::int32_t* sound : {&v.soundHorn4a, &v.soundHorn4b, &v.soundHorn4c, &v.soundHorn4d, &v.soundHorn4e})
                 *sound = r.intLine();
             v.horn4Time = fixed4::fromInt(r.intLine());
         }},
        intKey("[Sound_DoorOpen]", {&v.soundDoorOpen}),
        intKey("[Sound_DoorClose]", {&v.soundDoorClose}),
        intKey("[Sound_EBring]", {&v.soundEbRing}),
        intKey("[Sound_squeak]", {&v.soundSqueak}),
        intKey("[CP_Start]", {&v.soundCpStart}),
        intKey("[CP_Cnt]", {&v.soundCpRun}),
        intKey("[CP_End]", {&v.soundCpEnd}),
        intKey("[Stop]", {&v.soundStop}),
        intKey("[Buzzer]", {&v.soundBuzzer}),
        intKey("[DepSign]", {&v.soundDepart}),
        intKey("[ATS_Warn]", {&v.soundAtsWarn}),
        tableKey("[SwitchSound]", v.switchSounds, readSwitchSound),
        tableKey("[EngineRate]", v.engineRates, readEngineRate),
        gearTypeKey("[Gear_Type]", v.gearType),
        labelledByKey({"[Notch]", std::nullopt, [&v](ValueReader& r) { readNotches(r, v); }}),
        labelledByKey({"[CurrentP]", std::nullopt, [&v](ValueReader& r) { readCurrentP(r, v); }}),
        labelledByKey(tableKey("[BrakeCurr]", v.brakeCurr, currentInt)),
        labelledByKey(tableKey("[CurrentB]", v.currentB, readCurrentBRow)),
        labelledByKey({"[Engine]", std::nullopt, [&v](ValueReader& r) { readEngines(r, v); }}),
        labelledByKey(tableKey("[PowerMode]", v.powerModes, readPowerMode)),
        labelledByKey(tableKey("[EngineSound1]", v.engineSound1, readEngineSound1Row)),
        labelledByKey(intKey("[EngineSound2]", {&v.engineSound2[0], &v.engineSound2[1], &v.engineSound2[2], &v.engineSound2[3]})),
        labelledByKey(tableKey("[EngineSound3]", v.engineSound3, readEngineSound3Row)),
        labelledByKey(tableKey("[DriveSound]", v.driveSounds, [](ValueReader& r) { return std::string(r.current()); })),
        withLabel("- アナログ時計", intKey("[Clock]", {&v.clock.x, &v.clock.y, &v.clock.handLength})),
        withLabel("- 運転台パネル", panelPictureKey("[Panel]", v.panel)),
        panelPictureKey("[Panel2]", v.panel2),
        withLabel("- 運転台パネル2", panelPictureKey("[Lamp_Door]", v.lampDoor)),
        panelPictureKey("[Lamp_Power]", v.lampPower),
        panelPictureKey("[Lamp_EB]", v.lampEb),
        panelPictureKey("[Lamp_Gen]", v.lampGen),
        panelPictureKey("[Lamp_Air]", v.lampAir),
        panelPictureKey("[Lamp_Fin]", v.lampFin),
        panelPictureKey("[Lamp_Ele]", v.lampEle),
        panelPictureKey("[Lamp_Ats1]", v.lampAts1),
        panelPictureKey("[Lamp_Ats2]", v.lampAts2),
        panelPictureKey("[Lamp_ATSP1]", v.lampAtsp1),
        panelPictureKey("[Lamp_ATSP2]", v.lampAtsp2),
        withLabel("- 運転台パネル3", panelPictureKey("[Lamp_G]", v.lampG)),
        panelPictureKey("[Lamp_YG]", v.lampYg),
        panelPictureKey("[Lamp_Y]", v.lampY),
        panelPictureKey("[Lamp_YY]", v.lampYy),
        panelPictureKey("[Lamp_R]", v.lampR),
        panelPictureKey("[Lamp_Fwd]", v.lampFwd),
        panelPictureKey("[Lamp_Back]", v.lampBack),
        panelPictureKey("[Lamp_Const]", v.lampConst),
        panelPictureKey("[Lamp_Stop]", v.lampStop),
        {"[Needle_Speed]", "- 速度計", [&v](ValueReader& r) {
             readNeedle(r, v.needleSpeed);
             v.needleSpeed.degPerUnitLow = r.decimalLine();
         }},
        needleKey("[Needle_BC]", "- BC圧力計", v.needleBc),
        linearGaugeKey("[Needle_BC_L]", "- BC圧力計（リニア）", v.needleBcLinear),
        needleKey("[Needle_SAP]", "- SAP圧力計", v.needleSap),
        needleKey("[Needle_ER]", "- ER圧力計", v.needleEr),
        needleKey("[Needle_BP]", "- BP圧力計", v.needleBp),
        needleKey("[Needle_MR]", "- MR圧力計", v.needleMr),
        linearGaugeKey("[Needle_MR_L]", "- MR圧力計（リニア）", v.needleMrLinear),
        needleKey("[Needle_V]", "- 電圧計", v.needleV),
        {"[Needle_I]", "- 電流計", [&v](ValueReader& r) {
             readNeedle(r, v.needleI);
             v.needleI.currentAbs = r.intLine();
         }},
        labelledByKey({"[Lamp_signal]", std::nullopt, [&v, folder, &pictures](ValueReader& r) {
                           readStrip(r, v.lampSignal, folder, pictures);
                           readCabSignalCodes(r, v.cabSignalCodes);
                       }}),
        stripKey("[NotchImageP]", v.notchImageP, folder, pictures),
        stripKey("[NotchImageB]", v.notchImageB, folder, pictures),
        stripKey("[NotchImageP2]", v.notchImageP2, folder, pictures),
        stripKey("[NotchImageB2]", v.notchImageB2, folder, pictures),
        stripKey("[GearImageList]", v.gearImageList, folder, pictures),
        stripKey("[GearImageList2]", v.gearImageList2, folder, pictures),
        stripKey("[Digi_Speed]", v.digiSpeed, folder, pictures),
        labelledByKey(tableKey("[Others]", v.otherPictures,
                               [](ValueReader& r) { return readPanelPicture(r, std::string(r.current())); })),
    };
}

}  // namespace

VehicleSpec loadVehicle(std::string_view folder, std::string_view fileName, PictureLoader& pictures)
{
    const std::string path = joinPath(folder, fileName);
    auto in = openDataFile(path);
    if (!in)
        throw LoadError(withFileNotOpened(vehicleMessage(basicSettingsLabel, {}), path));
    VehicleSpec v;
    ValueReader reader(*in, vehicleMessage);
    const std::vector<KeyRule> rules = vehicleRules(v, folder, pictures);
    // The first key sets the basic label again at the start of every pass.
    runReaderLoop(reader, rules);
    return v;
}

namespace {

// Any data file reads as a vehicle file whose keys are all absent. A train
// needs cars, a mass (the dynamics divide by it) and power notches.
void refuseWhatIsNoTrain(const VehicleSpec& vehicle)
{
    if (vehicle.cars < 1 || vehicle.trainMass.raw <= 0 || vehicle.powerNotches < 1)
        throw LoadError(vehicleMessage(basicSettingsLabel, {}));
}

}  // namespace

void checkVehicleAfterLoading(VehicleSpec& vehicle)
{
    refuseWhatIsNoTrain(vehicle);
    if (vehicle.brakeType == 0)
        vehicle.brakeNotches = 4;
    else if (vehicle.brakeNotches < 3)
        throw LoadError("ブレーキの段数を3段以上に設定してください");
    // Driving looks up the per-notch tables by notch: a train with more
    // notches than they hold would read past them.
    constexpr auto brakeLimit = static_cast<std::int32_t>(decltype(VehicleSpec::soundBrakeBK)::capacity);
    constexpr auto powerLimit = static_cast<std::int32_t>(
        std::min(decltype(VehicleSpec::soundPowerPR)::capacity, decltype(VehicleSpec::notchTable)::capacity));
    if (vehicle.brakeNotches > brakeLimit || vehicle.powerNotches < 0 || vehicle.powerNotches > powerLimit)
        throw LoadError(vehicleMessage(basicSettingsLabel, {}));
}

std::vector<std::string_view> vehicleFileKeys()
{
    VehicleSpec unused;
    NoPictureLoader pictures;
    std::vector<std::string_view> keys;
    for (const KeyRule& rule : vehicleRules(unused, {}, pictures))
        keys.push_back(rule.key);
    return keys;
}

}  // namespace cabdrive
