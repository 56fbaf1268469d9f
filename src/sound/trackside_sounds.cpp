// The sounds placed along the line.
#include "sound/trackside_sounds.h"

#include <cmath>

#include "common/rounding.h"
#include "sim/environment_sounds.h"
#include "sim/event_matching.h"
#include "sound/sound_volume.h"
#include "state/channel_layout.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr long double speedVolumeScale = 5000;    // a trackside sound's volume per decade of speed
constexpr long double announceBeforeStop = 10000;  // cm: kind 0 rows only this far from the stop
constexpr long double soundSpeed = 1220;            // km/h
constexpr long double sourceAside = 300;            // cm from the track to a Doppler source
constexpr std::int32_t conductor = 0;
constexpr std::int32_t announcedByPosition = 2;     // one-person operation with announcements by position

// A flag of a one-shot table, sized with its table.
bool firesOnce(std::vector<std::uint8_t>& flags, std::size_t row, bool due)
{
    if (!due || row >= flags.size() || flags[row])
        return false;
    flags[row] = 1;
    return true;
}

struct TracksideSound {
    std::int32_t start, end;  // frames
    long double referenceSpeed;  // km/h
    bool looped, pitchFollowsSpeed, volumeFollowsSpeed, belowSpeed;

    explicit TracksideSound(const SoundRow& row)
        : start(row.column(2)), end(row.column(3)), referenceSpeed(row.column(4)), looped(row.column(5) >= 1),
          pitchFollowsSpeed(row.column(6) != 0), volumeFollowsSpeed(row.column(7) == 1), belowSpeed(row.column(8) == 1)
    {
    }
};

void setPitchAndVolume(Run& run, std::size_t channel, const TracksideSound& row, bool belowWalkingPace)
{
    const long double speed = run.state.dynamics.trainSpeed;
    run.sound.setFrequencyRatio(channel, row.pitchFollowsSpeed ? static_cast<double>(speed / row.referenceSpeed) : 1.0);
    std::int32_t volume = fullVolume;
    if (speed > 0 && row.volumeFollowsSpeed)
        volume = volumeOfRatio(speed * run.state.sound.environmentVolumeFactor / row.referenceSpeed, speedVolumeScale);
    run.sound.setVolume(channel, belowWalkingPace ? silentVolume : volume);
}

bool atAnyStation(const Run& run)
{
    const long double position = run.state.dynamics.trainPosition;
    for (const Station& station : run.route.stations) {
        if (station.zoneStart <= position && position <= station.zoneEnd)
            return true;
    }
    return false;
}

void unscheduledStopAnnouncement(Run& run)
{
    const RunState& s = run.state;
    std::int32_t& announced = run.state.sound.unscheduledStopAnnounced;
    const bool strandedPastTheStop = s.dynamics.trainSpeed < 1 && !s.doors.doorsOpen && s.dynamics.distanceToStop < 0;
    if (!strandedPastTheStop || announced == s.doors.doorClosings || atAnyStation(run))
        return;
    playEnvironmentSoundOnce(run, run.route.announces[0].column(1));
    announced = s.doors.doorClosings;
}

bool inAnnouncementWindow(const Run& run, const AnnounceRow& row)
{
    const std::int32_t station = row.column(3);
    if (station < 0 || static_cast<std::size_t>(station) >= run.route.stations.size())
        return false;
    const long double stop = run.route.stations[static_cast<std::size_t>(station)].stopDistance;
    const long double offset = static_cast<long double>(row.column(4)) * 100;  // cm
    const DynamicsState& d = run.state.dynamics;
    if (row.column(2) == 0)
        return d.distanceToStop > announceBeforeStop && insideStationWindow(stop, offset, d.trainPosition);
    return row.column(2) == 1 && insideStationWindow(stop, -offset, d.trainPosition);
}

bool sourceMayPlay(const Run& run, std::int32_t station)
{
    const std::vector<std::uint8_t>& departures = run.state.stations.melodyStarted;
    return station == 0 || (station > 0 && static_cast<std::size_t>(station) < departures.size() && departures[static_cast<std::size_t>(station)]);
}

// Heard from a source 3 m beside the track, d cm ahead of the train.
double dopplerRatio(long double d, long double speed)
{
    const long double towards = std::cos(std::atan(sourceAside / d)) * speed;
    return static_cast<double>(d > 0 ? soundSpeed / (soundSpeed - towards) : soundSpeed / (soundSpeed + towards));
}

}  // namespace

void tracksideSounds(Run& run)
{
    const std::int32_t frame = run.state.video.currentFrame;
    const long double speed = run.state.dynamics.trainSpeed;
    std::vector<std::uint8_t>& played = run.state.sound.tracksidePlayed;
    for (std::size_t i = 0; i < run.route.sounds.size(); ++i) {
        const auto channel = environmentSoundChannel(run, run.route.sounds[i].column(1));
        if (!channel)
            continue;
        const TracksideSound row(run.route.sounds[i]);
        const bool atStart = pointEventDue(row.start, frame);
        if (!row.looped && !row.belowSpeed && firesOnce(played, i, atStart)) {
            setPitchAndVolume(run, *channel, row, false);
            run.sound.play(*channel, false);
        }
        if (row.looped) {
            if (firesOnce(played, i, atStart)) {
                setPitchAndVolume(run, *channel, row, false);
                run.sound.play(*channel, true);
            }
            if (stopPointDue(row.end, frame) && i < played.size() && played[i])
                run.sound.stop(*channel);
        }
        const bool inside = insideRange(row.start, row.end, frame);
        if (inside)
            setPitchAndVolume(run, *channel, row, speed < 1);
        if (row.belowSpeed && firesOnce(played, i, inside && row.referenceSpeed >= roundHalfAway(speed)))
            run.sound.play(*channel, false);
    }
}

void switchSounds(Run& run)
{
    const long double speed = run.state.dynamics.trainSpeed;
    for (std::size_t i = 0; i < run.route.switches.size(); ++i) {
        const SwitchRow& row = run.route.switches[i];
        if (!firesOnce(run.state.sound.switchPlayed, i, pointEventDue(row.column(1), run.state.video.currentFrame)))
            continue;
        for (const SwitchSoundRow& sound : run.vehicle.switchSounds) {
            if (sound.switchNumber == row.column(2) && sound.speed > speed) {
                run.sound.play(vehicleSound(sound.channel), false);
                break;
            }
        }
    }
}

void routeAnnouncements(Run& run)
{
    const RouteData& route = run.route;
    if (route.announces.empty())
        return;
    if (route.oneMan == conductor)
        unscheduledStopAnnouncement(run);
    if (route.oneMan != conductor && route.oneMan != announcedByPosition)
        return;
    std::vector<std::uint8_t>& played = run.state.sound.announcePlayed;
    for (std::size_t i = 1; i < route.announces.size(); ++i) {
        const AnnounceRow& row = route.announces[i];
        const bool due = inAnnouncementWindow(run, row) && !environmentSoundPlaying(run, row.column(1));
        if (firesOnce(played, i, due))
            playEnvironmentSoundOnce(run, row.column(1));
    }
}

void dopplerSources(Run& run)
{
    const long double position = run.state.dynamics.trainPosition;
    const long double speed = run.state.dynamics.trainSpeed;
    bool anyInRange = false;
    for (const DopplerRow& row : run.route.dopplers) {
        const long double d = row.distance - position;  // cm, ahead of the train
        const long double range = row.column(3);         // cm
        const auto channel = environmentSoundChannel(run, row.column(1));
        if (std::fabs(d) > range || !channel)
            continue;
        anyInRange = true;
        if (!run.sound.isPlaying(*channel) && sourceMayPlay(run, row.column(5)))
            run.sound.play(*channel, true);
        if (row.column(4) == 0)
            run.sound.setFrequencyRatio(*channel, dopplerRatio(d, speed));
        run.sound.setVolume(*channel, volumeOfRatio((range - std::fabs(d)) / range));
    }
    if (anyInRange)
        return;
    for (const DopplerRow& row : run.route.dopplers) {
        if (const auto channel = environmentSoundChannel(run, row.column(1)))
            run.sound.stopIfPlaying(*channel);
    }
}

}  // namespace cabdrive
