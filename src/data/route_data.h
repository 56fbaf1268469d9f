// The route of one direction as loaded from its file, with the distances
// derived from it when the run is set up.
#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/fixed4.h"
#include "common/fixed_table.h"
#include "ports/picture.h"

namespace cabdrive {

// A row of N integers in file order. The code that acts on the rows speaks
// of "column 6", so columns are counted from 1.
template <std::size_t N>
struct IntRow {
    static constexpr std::size_t columnCount = N;

    std::array<std::int32_t, N> columns{};

    std::int32_t column(int n) const
    {
        assert(n >= 1 && static_cast<std::size_t>(n) <= N && "columns are counted from 1");
        return columns[static_cast<std::size_t>(n - 1)];
    }
};

// Distances below are in cm from the first frame of the video, derived at set-up.

struct SignalRow : IntRow<22> {
    std::int32_t distance = 0;  // cm, of column 6 (the signal's own frame)
};

struct TrafficSignalRow : IntRow<26> {
    std::int32_t distance = 0;        // cm, of column 1
    std::int32_t secondDistance = 0;  // cm, of column 22
};

struct SpeedLimitRow : IntRow<6> {
    std::int32_t distance = 0;  // cm, of column 4 (the limit sign's frame)
};

struct SpeedCheck1Row : IntRow<4> {
    std::int32_t distance = 0;  // cm, of column 3 (the check point's frame)
};

struct SpeedCheck2Row : IntRow<4> {
    std::int32_t distance = 0;  // cm, of column 3 (start of the supervised stretch)
};

struct DopplerRow : IntRow<5> {
    std::int32_t distance = 0;  // cm, of column 2 (the sound source's frame)
};

struct TunnelRow : IntRow<3> {
    std::int32_t startDistance = 0;  // cm, of column 1
    std::int32_t endDistance = 0;    // cm, of column 2
};

using SoundRow = IntRow<8>;
using Sound2Row = IntRow<3>;
using AttenRow = IntRow<4>;
using AnnounceRow = IntRow<4>;
using SignRow = IntRow<4>;
using AnimRow = IntRow<4>;
using KankoRow = IntRow<3>;  // [SignalKanko], [StationKanko]: number, moment, code
using CrossRow = IntRow<5>;
using TimeRow = IntRow<3>;
using SwitchRow = IntRow<2>;

struct MovieSwitch {
    std::int32_t kind = 0;         // 0, 1: running clip over a frame window; 2: station clip
    std::int32_t firstFrame = 0;   // window of kinds 0 and 1, main video frames
    std::int32_t lastFrame = 0;
    std::string clipName;          // video name without folder and ".avi"
    std::int32_t clipLastFrame = 0;
    std::int32_t returnFrame = 0;  // kinds 0, 1: main video frame to hand back to; kind 2: station index
    std::int32_t startClock = 0;   // 1/30 s: a station clip may start after this
    std::int32_t soundFrame = 0;   // clip frame after which `sound` starts
    std::int32_t sound = 0;        // environment sound number
};

struct Pre_Train {
    std::int32_t stationIndex = 0;
    std::int32_t speed = 0;          // km/h after leaving the station
    std::int32_t departureTime = 0;  // 1/30 s of the timetable clock
};

struct Station {
    std::string name;             // column 1
    std::int32_t kind = 0;        // 0 stop with doors, 1 pass, 2 stop without service, 3 special
    std::int32_t stopFrame = 0;
    std::int32_t stopTolerance = 0;  // cm, half the stop zone
    std::int32_t arrivalSound = 0;   // environment sound numbers
    std::int32_t departureSound = 0;
    std::int32_t ambienceSound = 0;  // 0: none
    std::int32_t departureTime = 0;  // 1/30 s of the timetable clock
    std::int32_t lineSpeed = 0;      // column 9, km/h of the section starting here
    std::int32_t patternTarget = 0;  // column 10, 1: a stop beacon for pattern protection
    std::int32_t doorSide = 0;       // column 11
    std::int32_t column12 = 0;
    std::int32_t column13 = 0;
    std::int32_t column14 = 0;
    std::int32_t doorSoundChance = 0;  // column 15, percent in one-person operation

    std::int32_t stopDistance = 0;  // cm, of stopFrame
    std::int32_t zoneStart = 0;     // cm, stopDistance - stopTolerance
    std::int32_t zoneEnd = 0;       // cm, stopDistance + stopTolerance
};

struct Slope {
    fixed4 gradient;  // per mille, positive uphill
    std::int32_t startFrame = 0;
    std::int32_t endFrame = 0;
};

struct SpeedUnit {
    std::int32_t fromFrame = 0;
    std::int32_t toFrame = 0;
    long double fromSpeed = 0;  // km/h of the filming train at fromFrame
    long double toSpeed = 0;    // km/h at toFrame
    std::int32_t endDistance = 0;  // cm at toFrame, derived
};

// Where the pattern-type protection must have the train slowed down.
struct PatternTarget {
    std::int64_t target = 0;   // cm
    std::int32_t code = 0;     // 10 for signals and stations; a limit's speed in km/h
    std::int32_t signal = 0;   // signal row of a signal entry
    std::int32_t station = 0;  // station row of a station entry
    std::int32_t kind = 0;     // 2 signal, 3 station, else the limit's column 3
};

struct KankoVoice {
    std::int32_t ordinal = 0;
    std::string file;
};

struct MonitorPicture {
    std::int32_t x = 0;  // px on the cab surface
    std::int32_t y = 0;
    std::int32_t patternWidth = 0;  // px of one cell
    std::int32_t patternHeight = 0;
    std::string file;
    std::optional<Picture> picture;  // none when the file line is empty
};

struct SignPicture {
    std::string file;
    std::int32_t size = 0;  // px
    Picture picture;
};

// The sub-signals take no position from the file: x and y stay 0 for them.
struct SignalPicture {
    std::int32_t x = 0;  // px, base position of the signal drawings
    std::int32_t y = 0;
    std::int32_t width = 0;  // px of one cell
    std::int32_t height = 0;
    std::string file;
    Picture picture;
};

inline constexpr std::size_t signPictureCount = 8;    // stop marker, stop lines S M E, slope, limit, remaining distance, other
inline constexpr std::size_t signalPictureCount = 4;  // signal, sub-signals S L R
inline constexpr std::size_t fixedKankoCount = 22;    // [KankoSound1]
inline constexpr std::size_t numberedKankoCapacity = 478;  // [KankoSound2]

using SignalTable = FixedTable<SignalRow, 501>;
using SpeedLimitTable = FixedTable<SpeedLimitRow, 501>;
using StationTable = FixedTable<Station, 501>;
using SpeedUnitTable = FixedTable<SpeedUnit, 30000>;
// Every signal, every speed limit and every station may ask for an entry.
using PatternTargetTable = FixedTable<PatternTarget, SignalTable::capacity + SpeedLimitTable::capacity + StationTable::capacity>;

// Large (a few MB): always held on the heap.
struct RouteData {
    std::string programFolder;  // with its trailing separator; the file names below are relative to it
    std::string routeFileName;  // the file the route was read from, in the program folder: which direction it is
    std::string lineName;
    std::string lineName2;
    std::int32_t startPos = 0;   // frame
    std::int32_t frameRate = 0;  // frames per second of station clips
    std::string stafCardFile;
    std::string openingPictureFile;
    std::string subDisplayFile;
    fixed4 friction;  // adhesion factor
    FixedTable<std::int32_t, 10> stafSwitches;
    FixedTable<std::int32_t, 101> movieStops;  // frames; the first is the switch-back frame
    FixedTable<MovieSwitch, 100> movieSwitches;
    FixedTable<std::int32_t, 12> speedSignals;  // km/h per aspect index
    std::string dataName;  // video name without folder and ".avi"
    long double perspectiveFactor = 0;
    std::int32_t perspectiveOffset = 0;
    std::int32_t preTrainStartFrame = 0;
    std::int32_t preTrainEndFrame = 0;  // beyond it the preceding train leaves the line
    FixedTable<Pre_Train, 999> preTrains;
    std::int32_t oneMan = 0;  // 0: conductor operation
    FixedTable<std::string, 100> soundData;  // environment sound files
    std::optional<MonitorPicture> monitor;   // only when it names the running vehicle

    // Row 0 is the header line (column 1, the sound after an unscheduled stop);
    // rows 1..n are the announcements.
    FixedTable<AnnounceRow, 500> announces;
    std::size_t announceCount() const { return announces.empty() ? 0 : announces.size() - 1; }

    // Call-out voices by number: 0..21 from [KankoSound1], 22 + k the k-th
    // [KankoSound2] row, which carries its ordinal k (a signal's column 3 names it).
    std::array<KankoVoice, fixedKankoCount + numberedKankoCapacity> kankoVoices{};
    std::size_t kankoSound2Count = 0;

    FixedTable<SoundRow, 501> sounds;
    FixedTable<Sound2Row, 501> sound2s;
    FixedTable<DopplerRow, 501> dopplers;
    FixedTable<TunnelRow, 501> tunnels;
    FixedTable<AttenRow, 501> attens;
    // At 100 km/h a tunnel holds a train back with tunnelR / 1000 of its
    // weight: the demo line's 6 is a few hundredths of a m/s². Beyond 1000,
    // the whole weight, it is a typing error.
    static constexpr std::int32_t maxTunnelR = 1000;
    std::int32_t tunnelR = 0;  // coefficient x 10000
    StationTable stations;
    FixedTable<std::int32_t, 501> stopSounds;
    SignalTable signals;
    FixedTable<TrafficSignalRow, 501> trafficSignals;
    FixedTable<Slope, 501> slopes;
    FixedTable<SignRow, 501> signs;
    FixedTable<AnimRow, 501> anims;
    FixedTable<KankoRow, 501> signalKankos;
    FixedTable<KankoRow, 501> stationKankos;
    SpeedLimitTable speedLimits;
    FixedTable<SpeedCheck1Row, 501> speedChecks1;
    FixedTable<SpeedCheck2Row, 501> speedChecks2;
    std::optional<std::array<SignPicture, signPictureCount>> signPictures;
    std::optional<std::array<SignalPicture, signalPictureCount>> signalPictures;
    FixedTable<std::string, 1000> otherKankos;
    FixedTable<std::string, 1000> limitKankos;
    // Picture lists in file order (the order is the image index); a repeated
    // key appends. Each crossing picture is one cell of its own size.
    std::vector<Picture> animPictures;
    std::vector<Picture> trafficSignalPictures;
    SpeedUnitTable speedUnits;
    std::vector<Picture> crossPictures;
    FixedTable<CrossRow, 1000> crosses;
    FixedTable<TimeRow, 100> times;
    FixedTable<SwitchRow, 495> switches;

    // Derived at set-up: sorted by target, equal targets in the order added.
    PatternTargetTable patternTargets;
};

}  // namespace cabdrive
