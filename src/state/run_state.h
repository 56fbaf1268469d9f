// RunState: everything that changes during one driving run.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/fixed4.h"
#include "common/random.h"
#include "ports/joystick.h"
#include "state/clock_face.h"

namespace cabdrive {

// The driver's controls as the simulation sees them: handles as set, and the
// notches in effect once the vehicle's delays have run.
struct ControlState {
    std::int32_t powerHandle = 0;        // 0 .. powerNotches
    std::int32_t appliedPowerNotch = 0;  // read by traction
    std::int32_t brakeHandle = 0;        // 0 released .. -brakeNotches emergency
    std::int32_t appliedBrakeNotch = 0;  // for the brake cylinders
    std::int32_t sapBrakeNotch = 0;      // for the straight-air pipe
    std::int32_t electricBrakeNotch = 0; // for the electric brake
    bool powerChangePending = false;
    bool brakeChangePending = false;
    bool sapChangePending = false;
    bool eBrakeChangePending = false;
    std::int32_t powerDelayCounter = 0;  // physics steps
    std::int32_t brakeDelayCounter = 0;
    std::int32_t sapDelayCounter = 0;
    std::int32_t eBrakeDelayCounter = 0;
    bool holdingBrakeOn = false;  // the position between B1 and neutral
    bool leftHolding = false;     // the handle has just left it towards B1
    std::int32_t reverser = 1;    // 1 forward, 0 neutral, -1 reverse
    std::int32_t powerMode = 0;   // row of the vehicle's power modes
    bool constantSpeedOn = false;
    std::string reverserText, powerText, brakeText, gearText;
    bool departureCalloutPending = false;  // set by the station logic
};

// Input state of the keyboard, the wheel and the easy panel.
struct InputState {
    bool swapDigits = false;     // "2" and "8" exchanged (Scroll Lock)
    bool runNotStarted = true;   // until the start command
    std::int32_t engineKey = 0;  // 0 none, 1 start key held, 2 stop key held
    bool debugFreeze = false;    // the speed follows the filming speed (F1)
    bool resistanceDebug = false;  // the value display's switch: the speed update leaves resistance out
    std::int32_t doorSide = 0;
    bool hornSequence = false;   // horn key pressed: the tick sounds the horn
    bool buzzer = false;         // buzzer key pressed
    // Held keys, read as key states each tick (fed by the window or a script).
    bool hornKeyHeld = false;    // "3" on the keyboard
    bool hornButtonHeld = false; // a game controller's horn button
    bool buzzerKeyHeld = false;  // "4"
};

// The external controllers: the serial master controller and the game
// controllers polled by the tick.
struct ControllerState {
    // 0 standard keyboard and serial controller, 1 "Windows用電車でGO! コントローラ",
    // 2 "PS用電車でGO! コントローラ", 3 "三鶯重工 OHC-PC01"
    std::int32_t controllerKind = 0;
    std::string serialBuffer;            // received characters not yet ended by a carriage return
    std::string lastSerialMessage;       // the last message received, shown as the value display's caption
    std::int32_t lastControllerSum = 0;  // X + Y + E + G of the last poll acted on
    bool debugCaption = false;           // "デバッグオプション(&D)": the caption shows the axes
    std::string axesCaption;             // "X:… Y:…" of the last poll acted on, while debugCaption
    // Where a script line or a live client last put the game controller.
    // The tick polls it while no device answers: a controller nobody moves
    // stays where it was put, its horn button included.
    std::optional<JoystickSnapshot> typedReading;
};

// The train's motion and the forces on it. Forces in N, fixed4 as stored.
struct DynamicsState {
    static constexpr long double noStopAhead = 1e15L;  // cm, nextStopPosition: further than any line

    long double trainSpeed = 0;     // km/h, negative when running backwards
    long double trainPosition = 0;  // cm from the start of the line
    long double distanceToStop = 0; // cm to the stopping point of the next stop
    long double nextStopPosition = 0;  // cm; kept by the station logic
    fixed4 tractionForce, appliedTractionForce, resistanceForce, brakeForce;
    fixed4 shoeFactor, adhesionCoefficient, adhesionLimit;
    fixed4 predictedSpeed;  // km/h
    std::int32_t motorCurrent = 0;  // A
    std::int32_t currentStep = 0;   // row of [CurrentP] in use
    std::int32_t ammeterValue = 0;
    fixed4 lineVoltage, lineVoltageTarget;  // V
    fixed4 frontGradient;      // per mille, positive uphill
    std::vector<std::int32_t> carGradients;  // per mille, one per car, front first
    long double gradientSamplePosition = 0;  // cm
    fixed4 effectiveGradient;  // per mille, the mean over the cars
    bool inTunnel = false;
    std::int32_t tunnelResistance = 0;
    std::string slipIndication;  // "", "空転" or "滑走"
    // The preceding train, in frames of the main video.
    std::int32_t precedingFrame = 0;
    std::int32_t precedingSpeed = 0;  // km/h
    std::int32_t precedingPitch = 0;  // filming speed at its frame
    std::int32_t precedingAccumulator = 0;
    std::int32_t precedingRemainder = 0;
};

// Pressures in kPa.
struct AirState {
    fixed4 bcMotorCar, bcTrailerCar, erPressure, mrPressure, sapPressure;
    long double bpPressure = 0;
    long double feedPressure = 0;  // the lesser of the main reservoir and 490
    bool compressorOn = false;
    long double electricBrakeCurrent = 0;  // A
    std::int32_t brakeCurrentStep = 0;     // row of [CurrentB] in use
    long double mrNeedleDip = 0;   // kPa added to the main-reservoir needle
    long double mrNeedleStep = 1;  // kPa per tick of the needle's swing back
};

// The engine and gearbox; an electric train keeps its engine "running".
struct EngineState {
    std::int32_t engineRunning = 1;  // 1 running, 0 stopped, -1 cranking, -2 shutting down
    std::int32_t currentGear = 0;    // row of the engine table; 0 neutral for the engine speed
    std::int32_t gearLever = 1;      // 0 .. 5
    std::int32_t gearShiftState = 0; // 0 none, 1 to gearLever, 2 to neutral
    std::int32_t gearShiftTicks = 0;
    long double engineSpeed = 0;       // engine's own units: idle 30, free revving 95
    long double engineSpeedTarget = 0;
    std::int32_t engineKeyTicks = 0;   // ticks the engine key has been held
    // The advice text the information line last built, with its leading
    // marker character; PresentationState::informationText shows it.
    std::string informationBuilt;
};

// How the video frame follows the train.
struct VideoState {
    std::int32_t currentFrame = 0;     // main-video frame at the train's position
    std::int32_t playbackFrame = 0;    // frame of the clip shown in clip modes
    std::int32_t frameOffset = 0;      // main-video frame at which a running clip starts
    std::int32_t videoMode = 0;        // 0 main, 1 station clip, 2 running clip, 9 switching
    std::int32_t reversed = 0;         // 1 once the driver has changed ends at the switch-back
    std::int32_t clipEndFrame = 0;
    std::int32_t highestFrame = 0;     // frames above it are not decoded
    std::int32_t frameAccumulator = 0; // speed units towards the next frame
    std::int32_t filmingSpeed = 0;     // km/h at currentFrame
    std::int32_t speedUnitRow = -1;    // [SpeedUnit] row that held currentFrame last
    std::vector<std::uint8_t> movieSwitchDone;  // one per [MovieSwitch] row
    std::int32_t clipRow = -1;         // [MovieSwitch] row whose clip is shown; -1 none
};

struct ProtectionState {
    static constexpr std::int32_t noCheck = 999;            // atsCheckSpeed: nothing to check
    static constexpr std::int32_t alarmAtStopSignal = 998;  // atsCheckSpeed: the bell is due at a stop signal
    static constexpr std::int32_t noPattern = 999;          // patternCode: no braking curve

    bool protectionEmergencyBrake = false;
    bool protectionServiceBrake = false;
    bool atsActive = true;
    // km/h the protection checks against; noCheck, alarmAtStopSignal, or 0 stop at once.
    std::int32_t atsCheckSpeed = noCheck;
    bool alarm = false;                 // the spot-type bell rings until acknowledged
    bool acknowledged = false;          // the chime is due
    bool acknowledgedAtSignal = false;  // no second alarm before the signal is passed
    std::int32_t alarmTimer = 0;        // ticks of an unacknowledged speed-check alarm
    std::int32_t alarmCheckSpeed = noCheck;  // atsCheckSpeed when the bell started, for the displays
    bool cabSignalBrake = false;        // cab signalling has braked
    // Pattern type: the braking curve towards a target.
    std::int32_t patternCode = noPattern;  // km/h at the target
    long double patternTarget = 0;      // cm
    std::int32_t patternKind = 0;       // kind of the beacon that set the pattern
    std::int32_t patternState = 0;      // 0 none, 1 warning, 2 brake, 3 stop brake
    std::int32_t patternStatePrevious = 0;
    std::int64_t patternSpeedA = 0;     // km/h, the brake curve
    std::int64_t patternSpeedB = 0;     // km/h, the warning curve
    // The vigilance device.
    std::int32_t vigilanceCounter = 0;  // ticks counted above 1 km/h since the last key
    bool vigilanceDisarmed = false;
};

// The passenger doors. `doorsOpen` stays set while they are still closing.
struct DoorState {
    bool doorsOpen = false;
    bool doorOpenCommand = false;      // set while they are open and not closing
    std::int32_t doorClosings = 0;     // complete closings since the start
    std::int32_t doorSoundDraw = 0;    // 0 .. 99, drawn on arriving at a station
    std::int32_t doorSoundChance = 0;  // percent: the station's column 15 (one-person operation)
};

// A speed limit or speed check ahead of the train.
struct UpcomingLimit {
    std::int32_t row = -1;              // -1: the slot is empty
    std::int32_t limit = 0;             // km/h, column 1
    std::int64_t brakingDistance = 0;   // cm
    std::int64_t distance = 0;          // cm from the train
};

// Signals, limits and the protection displays (the signal logic keeps them;
// the call-out key reads them).
struct SignalState {
    static constexpr std::int32_t noDisplay = 999;  // signalDisplay, signalDisplayPrevious: no signal
    static constexpr std::int32_t noName = 999;     // signalName: no signal ahead
    // signalDisplay, signalDisplayPrevious: a display no signal shows, so the
    // pictures are drawn afresh when the next signal comes into view.
    static constexpr std::int32_t redrawDisplay = 1000;

    std::int32_t signalDisplay = noDisplay;  // display index of the signal ahead
    std::int32_t signalAheadRow = -1;   // [Signal] row of the signal ahead
    std::int32_t pendingLimitCallout = -1;  // [LimitKanko] voice due; -1 none
    std::int32_t lineSpeed = 0;         // km/h of the current section (station column 9)
    std::string limitText1, limitText2;             // the two limit lines
    std::string protectionText1, protectionText2;   // the two protection lines
    std::int32_t signalDisplayPrevious = noDisplay;  // the display the signal pictures show
    std::int32_t signalName = noName;   // column 3 of the signal ahead
    std::vector<std::int32_t> aspects;  // per [Signal] row: 0 stop .. top aspect
    std::vector<std::int32_t> displays; // per [Signal] row: display index
    std::vector<std::uint8_t> speedCheckPassed;  // per [SpeedCheck1] row
    // The next three speed limits, then the next two speed checks at stop.
    std::array<UpcomingLimit, 5> upcomingLimits{};
    bool limitWarning = false;          // the first limit lies within its braking distance
};

// Stations and the timetable (the station logic keeps them).
struct StationState {
    static constexpr std::int32_t noCrewChange = 999;  // crewChangeStation: none chosen

    std::int32_t startStation = 0;      // [Station] row the run started at
    std::int32_t currentStation = 0;    // [Station] row the train is at or left last
    std::int32_t nextStopStation = -1;  // [Station] row of the next stop; -1 none
    std::string currentStopName, nextStopName;
    std::string clockText;              // "hh:mm:ss"
    std::string nextStationText;        // "次は …" or "ただいま …"
    // The one-person notice; under a conductor the car count and its word.
    std::string carsText;
    std::string doorSideText;           // the [Doors] word chosen with Page Up / Page Down
    std::vector<std::uint8_t> melodyStarted;  // one per station; signals of control 3 read them
    // One per station each, cleared by a station jump.
    std::vector<std::uint8_t> atStation;          // the "ただいま" text has been set
    std::vector<std::uint8_t> arrivalRegistered;
    std::vector<std::uint8_t> departed;           // doors closed after the melody
    std::vector<std::uint8_t> onePersonCalloutDone;
    std::vector<std::uint8_t> timeSpoken;         // one per [Time] row
    std::int32_t arrivalClock = 0;  // clockTicks at the arrival, then at the melody's start
    std::int32_t crewChangeStation = noCrewChange;  // chosen on the title screen
    std::int32_t announceIndex = 0;        // [Announce] row the announcement key plays next
    bool runEnded = false;                 // the arrival at the last station ended the run
};

// The call-out voice queue.
struct CalloutState {
    // The route's three voice tables: kankoVoices, otherKankos, limitKankos.
    enum class Table : std::uint8_t { Kanko, Other, Limit };
    struct Voice {
        Table table = Table::Kanko;
        std::int32_t index = 0;  // row of that table
    };
    static constexpr std::size_t queueCapacity = 12;

    std::array<Voice, queueCapacity> queue{};  // slot 0 is the head
    std::size_t queued = 0;                    // voices waiting, the head included
    bool headPlayed = false;  // the head was handed to the channel; removed once it is silent
    std::int32_t lastLimitCallout = -1;  // [LimitKanko] voice the key called last; not repeated
};

// A road traffic light's cycle through its six phases.
struct RoadLightCycle {
    std::int32_t phase = 1;      // 1 .. 6
    std::int32_t countdown = 0;  // ticks left in the phase
};

// The trackside signs over the view that the tick keeps: slope posts, signs
// and timetable markers, animations, crossings and road traffic lights.
struct TracksideState {
    static constexpr std::int32_t noCallout = 999;   // pendingSignCallout: nothing due
    static constexpr std::int32_t timeMarker = 900;  // pendingSignCallout: the timetable marker
    static constexpr std::size_t crossingSlots = 11;

    // The gradient as the slope posts give it, signed and unsigned, one
    // decimal; "L" on level track.
    std::string gradientText = "L", gradientTextUnsigned = "L";
    // The sign in view: its [OtherKanko] voice (its image), timeMarker or noCallout.
    std::int32_t pendingSignCallout = noCallout;
    std::int32_t signCounter = 0;  // ticks since the sign appeared
    std::int32_t calledSign = noCallout;  // the sign call-out the key made last; not repeated
    std::int32_t animationCounter = 0;  // ticks towards the next phase
    std::int32_t animationPhase = 0;    // 0 .. 13
    // [Cross] rows ahead, the head first; -1 empty.
    std::array<std::int32_t, crossingSlots> crossingQueue{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    std::int32_t crossingShown = -1;    // the head the crossing sprite shows; -1 the empty queue
    bool crossingIndicator = false;     // the crossing indicator is lit
    std::vector<std::uint8_t> crossingJoined;  // per [Cross] row: queued in this pass of its enter window
    std::vector<std::uint8_t> crossingLeft;    // per [Cross] row: its leaving has moved the queue on
    std::vector<RoadLightCycle> roadLights;    // per [TrafficSignal] row
    std::int32_t roadLightShown = -1;   // the row the light sprites show; -1 none
    std::string crossingDistanceText;   // to the next road traffic light
};

// The run's two clocks.
struct TimeState {
    std::int32_t clockTicks = 0;  // 1/30 s since midnight: the timetable clock
    std::int32_t tickCount = 0;   // ticks since the run started
};

// What the sound control keeps between ticks.
struct SoundState {
    // s, one per [SoundData] entry, measured when the sounds load; a missing
    // entry counts as 0.
    std::vector<std::int32_t> environmentSoundSeconds;
    long double environmentVolumeFactor = 1.0;  // of the [Atten] row the train is in
    bool hornSounding = false;
    std::int32_t hornPartStart = 0;  // clockTicks when the last horn part started

    // One-shot flags, cleared by a station jump: one per [Sound], [Switch]
    // and [Announce] row (the header row included).
    std::vector<std::uint8_t> tracksidePlayed, switchPlayed, announcePlayed;
    // The door closing after which the unscheduled-stop announcement played.
    std::int32_t unscheduledStopAnnounced = -1;

    bool releaseSoundLatched = false;    // [Sound_BK]: once per release of the handle
    bool brakeStepSoundLatched = false;  // [Sound_BR]: until the brake reaches the handle
    bool emergencySoundLatched = false;  // [Sound_EB]
    std::int32_t squealVolume = 0;       // 1/100 dB, as last set

    // The motor sounds: per [EngineSound1] row its fade level (0 .. 100, from
    // 0 at the start), the volume target (percent) and the frequency ratio it
    // last had; and the master level over all rows.
    std::vector<std::int32_t> motorFade;
    std::vector<long double> motorTarget, motorRatio;
    std::int32_t motorMaster = 0;
};

// What the render pass and the windows show beyond the scene: texts the tick
// prepares for them, and values the render pass damps or remembers.
struct PresentationState {
    std::int32_t fadeLevel = 0;
    std::int32_t lastDecodedFrame = 1;  // -1 forces a new decode
    std::int32_t targetCurrent = 0;     // A: the ammeter value the tick measured
    std::int32_t shownCurrent = 0;      // A: the ammeter value shown, damped by the render pass
    std::int32_t cabSurfaceTop = 0;     // px: the cab surface moved up (negative) with Shift + Up
    std::string messageText;            // the message line over the view: the information line's advice
    std::string informationText;        // the information line's advice
    std::int32_t informationFrame = 0;  // currentFrame - 1 when the advice last changed
    std::string easyPanelText;          // the easy panel's status bar
};

struct RunState {
    ControlState controls;
    InputState input;
    ControllerState controller;
    DynamicsState dynamics;
    AirState air;
    EngineState engine;
    VideoState video;
    ProtectionState protection;
    DoorState doors;
    SignalState signals;
    StationState stations;
    TracksideState trackside;
    CalloutState callouts;
    ClockFace clockFace;
    Random random;
    TimeState time;
    SoundState sound;
    PresentationState presentation;
};

}  // namespace cabdrive
