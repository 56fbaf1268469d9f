// Every sound file of the demo line: where it lives, how it is made, and the
// route's environment sound list that the vehicles' sound numbers point into.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "line_model.h"
#include "wave_file.h"

namespace cabdrive::demo {

// Sound files to write, each once, in the order added.
class SoundCatalogue {
public:
    // dataPath relative to the data folder, with backslashes. A path added
    // twice keeps its first maker.
    void add(const std::string& dataPath, std::function<Wave()> make);
    // Synthesises and writes every file under dataFolder on `threads` threads.
    void writeAll(const std::string& dataFolder, int threads) const;
    std::size_t size() const { return m_files.size(); }

private:
    struct File {
        std::string dataPath;
        std::function<Wave()> make;
    };
    std::vector<File> m_files;
};

// Running-sound bands of every vehicle: the route's sounds take the channels
// after them, so all vehicles share this count.
inline constexpr int driveBandCount = 13;

// The line's environment sounds with a fixed meaning, in [SoundData] order.
enum class EnvSound {
    arrivalChime,  // sound 0: also what plays when a run starts at a station
    melody0, melody1, melody2, melody3,
    ambience0, ambience1,
    crossingBell, tunnelRoar, pointsClack, oncomingHorn, hum,
    unscheduledStop, passingAnnouncement, stationClipAnnouncement, departureTone,
    // the vehicles' single sounds, by channel
    brakeRelease, brakeStep, brakeApplyPuff, powerNotch, brakeNotch, emergencyExhaust,
    autoBrakeApply, pipeCharge, atsBell, atsChime, atsAck, atcBell,
    horn, whistle, shortHorn, hornAttack, hornSustain, hornSustain2, hornRelease,
    doorOpen, doorClose, vigilanceAlarm, squeal, compressorStart, compressorRun, compressorEnd,
    stopAlert, buzzer, departureBuzzer, atsWarning, engineStart, engineStop,
    count
};

// The channel of an environment sound, as vehicle files number sounds: after
// the running-sound bands.
constexpr int envChannel(EnvSound sound)
{
    return driveBandCount + static_cast<int>(sound);
}

// The [SoundData] list shared by both directions: the fixed sounds, then for
// every station its arrival, next-stop and approaching announcements.
class RouteSounds {
public:
    RouteSounds(const LineGeometry& downLine, SoundCatalogue& catalogue);

    const std::vector<std::string>& soundData() const { return m_soundData; }
    int index(EnvSound sound) const { return static_cast<int>(sound); }
    int arrivalAnnouncement(const std::string& station) const;
    int nextStopAnnouncement(const std::string& station) const;
    int approachAnnouncement(const std::string& station) const;

private:
    int stationSound(const std::string& station, int offset) const;

    std::vector<std::string> m_soundData;
    std::vector<std::string> m_stationNames;
};

// The driver's call-out voices: the 22 fixed ones, then numbered ones.
enum class NamedCallout { departureSignal, homeSignal, blockSignal, repeaterSignal, stopPositionGood, crossingGood, count };

struct Callouts {
    std::vector<std::string> fixed;     // [KankoSound1], 22 files
    std::vector<std::string> numbered;  // [KankoSound2]
    std::vector<std::string> signs;     // [OtherKanko], by sign picture
    std::vector<std::string> limits;    // [LimitKanko], by limit sign picture
    // Voice number of a numbered call-out (after the 22 fixed ones).
    static int voice(NamedCallout c) { return 22 + static_cast<int>(c); }
};

// limitSpeeds: the restriction speeds in the order of their sign pictures.
Callouts makeCallouts(const std::vector<int>& limitSpeeds, SoundCatalogue& catalogue);

}  // namespace cabdrive::demo
