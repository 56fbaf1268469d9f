// VehicleSpec: everything a vehicle file says about one train, as loaded.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "common/fixed4.h"
#include "common/fixed_table.h"
#include "ports/picture.h"

namespace cabdrive {

// --- table rows ---

struct SwitchSoundRow {  // [SwitchSound]
    std::int32_t speed = 0;         // km/h: the row serves trains slower than this
    std::int32_t switchNumber = 0;  // the [Switch] rows of the route that it answers
    std::int32_t channel = 0;       // sound channel played once
};

struct EngineRateRow {  // [EngineRate], one per gear
    std::int32_t base = 0;   // engine speed at standstill in this gear
    long double factor = 0;  // engine speed per km/h
};

struct NotchRow {  // [Notch], one per power notch
    long double accelStart = 0;    // km/h/s at standstill
    long double accelAtBase = 0;   // km/h/s at baseSpeed
    std::int32_t baseSpeed = 0;    // km/h: end of the linear part
    std::int32_t curveSpeed = 0;   // km/h: end of the constant-power part
    long double curveExponent = 0; // decay per km/h above curveSpeed
    std::int32_t notchGroup = 0;   // power mode the notch belongs to
};

struct CurrentPRow {  // [CurrentP] step of the current model
    std::int32_t stepNotch = 0;       // lowest applied notch that may take the step
    long double currentConstant = 0;  // A x km/h: current = constant / (v - speedOffset)
    long double speedOffset = 0;      // km/h
    std::int32_t spare = 0;           // read and kept; nothing uses it
};

struct CurrentBRow {  // [CurrentB] step of the electric brake
    long double divisor = 0;      // brake current = (|v| - speedOffset) / divisor
    long double speedOffset = 0;  // km/h
    std::int32_t spare = 0;       // read and kept; nothing uses it
};

struct EngineRow {  // [Engine], one per gear
    std::int32_t speedLow = 0;   // km/h
    std::int32_t speedMid = 0;   // km/h
    std::int32_t speedHigh = 0;  // km/h
    long double effortLow = 0;   // kgf at full power
    long double effortMid = 0;   // kgf at full power
    long double effortHigh = 0;  // kgf at full power
};

struct PowerModeRow {  // [PowerMode]
    std::string name;      // put before the notch number in the power readout
    std::string gearText;  // gear readout of an electric train in this mode
};

struct EngineSound1Row {  // [EngineSound1]: motor sound following speed or engine speed
    std::string file;                           // sound file in the vehicle folder
    std::int32_t activity = 0;                  // 0 while powering, 1 while braking, 2 always
    std::array<long double, 3> speeds{};        // s0 < s1 < s2, km/h (engine speed on a diesel)
    std::array<long double, 3> frequencyRatios{};
    std::array<long double, 3> volumePercents{};
};

struct EngineSound3Row {  // [EngineSound3]
    std::string file;                           // sound file in the vehicle folder
    std::array<std::int32_t, 2> integers{};     // in file order
    std::array<long double, 6> decimals{};      // in file order
};

// --- cab panel layout: recorded here, turned into pictures by the panel build ---

struct PanelPicture {  // [Panel], [Panel2], the lamps, [Others]
    std::string file;    // in the vehicle folder; empty: no picture
    std::int32_t x = 0;  // px on the cab surface
    std::int32_t y = 0;  // px
};

struct ClockLayout {  // [Clock]; drawn only when x > 0 and y > 0
    std::int32_t x = 0;           // px, top left of the 50 x 50 face
    std::int32_t y = 0;           // px
    std::int32_t handLength = 0;  // px; the hour hand is 0.6 of it
};

// Needle angle in degrees = value x degPerUnit + offsetDeg.
struct NeedleLayout {
    std::string file;
    std::int32_t x = 0;          // px
    std::int32_t y = 0;          // px
    std::int32_t offsetDeg = 0;  // angle at value 0
    long double degPerUnit = 0;
};

struct SpeedNeedleLayout : NeedleLayout {
    long double degPerUnitLow = 0;  // when non-zero: degrees per km/h below 10 km/h
};

struct CurrentNeedleLayout : NeedleLayout {
    std::int32_t currentAbs = 0;  // 0 signed current, 1 its absolute value
};

struct LinearGaugeLayout {  // [Needle_BC_L], [Needle_MR_L]
    std::string file;
    std::int32_t x = 0;           // px
    std::int32_t baseY = 0;       // px; drawn at baseY - round(kPa x pixelsPerKpa)
    long double pixelsPerKpa = 0;
};

// A picture of equal cells (patterns), one shown at a time; the picture is
// loaded while the vehicle file is read.
struct PictureStrip {
    std::int32_t x = 0;              // px
    std::int32_t y = 0;              // px
    std::int32_t patternWidth = 0;   // px
    std::int32_t patternHeight = 0;  // px
    std::string file;                // empty: no strip
    std::optional<Picture> picture;
};

// --- the vehicle ---

// Every field starts at 0 or empty; a key absent from the file leaves it so.
struct VehicleSpec {
    // Controller
    std::int32_t handleType = 0;     // 0 one-handle, 1 two-handle
    std::int32_t brakeType = 0;      // 0 automatic air brake, otherwise notched
    std::int32_t brakeType2 = 0;     // above 0: the electric brake is used
    std::int32_t brakeNotches = 0;   // positions below 0; -brakeNotches is emergency
    std::int32_t powerNotches = 0;
    std::int32_t notchBack = 0;
    std::int32_t holdNotch = 0;
    std::int32_t pullNotch = 0;      // 0 or 1: how the automatic brake's position -1 acts
    std::int32_t constNotch = 0;     // power notch engaging constant-speed control
    std::int32_t constMinSpeed = 0;  // km/h from which it may engage
    std::int32_t backFlag = 0;       // 1: roll-back protection
    std::int32_t elbrFlag = 0;       // kPa, used by the brake blending

    // Brake and air rates; the physics divides the rates by physicsStepDivisor
    fixed4 brakeRateA, brakeRateB, brakeRateC;
    long double brakeRateAlt = 0;  // written with four decimals at most
    std::int32_t powerDelay = 0;
    std::int32_t brakeDelay = 0;
    std::int32_t eBrakeDelay = 0;
    std::int32_t powerJerk = 0;
    std::int32_t sapDelay = 0;
    std::int32_t brakeUp = 0, brakeDown = 0;    // kPa/s
    std::int32_t sapUp = 0, sapDown = 0;        // kPa/s
    std::int32_t eBrakeUp = 0, eBrakeDown = 0;  // A/s, electric brake current
    std::int32_t eBrakeCurr = 0;                // A at full service
    std::int32_t bpReturn = 0;     // kPa/s
    std::int32_t maxPress = 0;     // kPa, highest brake-cylinder pressure
    std::int32_t ebPress = 0;      // kPa, brake cylinder at the automatic brake's emergency
    std::int32_t sapPress = 0;     // kPa, straight air at full service
    std::int32_t highAirPress = 0; // kPa, main reservoir: compressor stops, run starts here
    std::int32_t lowAirPress = 0;  // kPa, main reservoir: compressor starts

    // Train
    // The longest trains a line with platforms sees are a few dozen cars;
    // each car holds 20 m of the gradient history and adds to the air
    // resistance, so a count in the millions is a typing error that would
    // stall the run. A hundred cars (2 km of train) is the most we accept.
    static constexpr std::int32_t maxCars = 100;
    std::int32_t engineType = 0;    // 1 electric, 0 diesel
    std::int32_t doorLock = 0;      // 1: traction depends on the doors
    std::int32_t powerType = 0;     // 1 [Notch] table, 0 [CurrentP] current model
    std::int32_t brakeTypeAlt = 0;  // electric brake: 1 current ramps, 0 [CurrentB] table
    std::int32_t doorType = 0;      // kept; nothing uses it
    fixed4 massMotor, massTrailer, massCab;  // t per car, for running resistance
    std::int32_t cars = 0;           // at most maxCars
    fixed4 trainMass;                // t, the mass traction accelerates
    std::int32_t ebFlag = 0;         // 1: the vigilance device is armed
    std::int32_t maxSpeed = 0;       // km/h: no traction at or above it
    std::int32_t loseElec = 0;       // km/h below which the electric brake fades
    std::int32_t bcSelect = 0;       // BC gauges show 0 the trailer car, 1 the motor car

    // ATS
    std::int32_t atsType = 0;   // 0 spot, 1 pattern, 2 cab signalling
    std::int32_t atsAlert = 0;  // 1: the spot type's speed-check variant
    std::int32_t atsTime = 0;   // s from alarm to brake
    std::int32_t atsCount = 0;  // 0 chime looped, 1 once

    // Sound channels
    std::int32_t soundEb = 0, soundEb2 = 0;
    std::int32_t soundApply1 = 0, soundApply2 = 0;
    std::int32_t soundAts1 = 0, soundAts2 = 0, soundAts3 = 0;  // bell, chime, acknowledge
    std::int32_t soundAtc = 0;
    std::int32_t soundHorn = 0, soundHorn2 = 0, soundHorn3 = 0;
    std::int32_t soundHorn4a = 0, soundHorn4b = 0, soundHorn4c = 0, soundHorn4d = 0, soundHorn4e = 0;
    fixed4 horn4Time;  // written as a whole number
    std::int32_t soundDoorOpen = 0, soundDoorClose = 0;
    std::int32_t soundEbRing = 0;
    std::int32_t soundSqueak = 0;
    std::int32_t soundCpStart = 0, soundCpRun = 0, soundCpEnd = 0;
    std::int32_t soundStop = 0;
    std::int32_t soundBuzzer = 0;
    std::int32_t soundDepart = 0;
    std::int32_t soundAtsWarn = 0;
    std::array<std::int32_t, 4> engineSound2{};

    // Per-notch sound channels: entry k - 1 is brake position -k or power notch k
    FixedTable<std::int32_t, 11> soundBrakeBK, soundBrakeBR, soundBrakeBA;
    FixedTable<std::int32_t, 14> soundPowerPA;
    FixedTable<std::int32_t, 11> soundPowerPR;

    std::int32_t gearType = 0;  // 0 "AT", 1 "MT"

    // Tables
    FixedTable<SwitchSoundRow, 501> switchSounds;
    FixedTable<EngineRateRow, 9> engineRates;
    FixedTable<NotchRow, 11> notchTable;  // in file order: row n - 1 is power notch n
    // Row of notchTable where each notch group starts; entry 0 is 0. Eleven
    // rows can open at most eleven groups after group 0.
    FixedTable<std::int32_t, 12> groupStart;
    std::int32_t currentPHead1 = 0;    // A, limit current
    long double currentPHead2 = 0;     // km/h/s at the limit current
    long double currentPHead3 = 0;     // km/h up to which that acceleration holds
    FixedTable<CurrentPRow, 100> currentP;
    FixedTable<std::int32_t, 10> brakeCurr;  // A, per brake notch
    FixedTable<CurrentBRow, 100> currentB;
    FixedTable<EngineRow, 11> engineTable;
    FixedTable<PowerModeRow, 10> powerModes;
    // Each sound file takes a wave of a 100-entry table and a channel.
    FixedTable<EngineSound1Row, 100> engineSound1;
    FixedTable<EngineSound3Row, 100> engineSound3;
    FixedTable<std::string, 100> driveSounds;  // running-sound bands, channels 0 onwards

    // Cab panel
    ClockLayout clock;
    PanelPicture panel, panel2;
    PanelPicture lampDoor, lampPower, lampEb, lampGen, lampAir, lampFin, lampEle;
    PanelPicture lampAts1, lampAts2, lampAtsp1, lampAtsp2;
    PanelPicture lampG, lampYg, lampY, lampYy, lampR;
    PanelPicture lampFwd, lampBack, lampConst, lampStop;
    SpeedNeedleLayout needleSpeed;  // km/h
    NeedleLayout needleBc, needleSap, needleEr, needleBp, needleMr;  // kPa
    NeedleLayout needleV;          // line voltage
    CurrentNeedleLayout needleI;   // motor current, A
    LinearGaugeLayout needleBcLinear, needleMrLinear;
    PictureStrip lampSignal;  // cab-signal strip
    FixedTable<std::int32_t, 12> cabSignalCodes;
    PictureStrip notchImageP, notchImageB, notchImageP2, notchImageB2;
    PictureStrip gearImageList;   // gear position
    PictureStrip gearImageList2;  // gear lever
    PictureStrip digiSpeed;
    FixedTable<PanelPicture, 11> otherPictures;
};

}  // namespace cabdrive
