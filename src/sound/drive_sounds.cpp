// The running sound in speed bands and the motor or engine sounds.
#include "sound/drive_sounds.h"

#include <cmath>
#include <cstdlib>

#include "common/rounding.h"
#include "sound/sound_volume.h"
#include "state/channel_layout.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr std::int32_t bandWidth = 10;     // km/h
constexpr std::int32_t topBand = 12;       // alone from 120 km/h
constexpr std::int32_t lastCrossFade = 11; // the bands 11 and 12 cross-fade up to 120 km/h

constexpr std::int32_t fadedIn = 100;      // fade level while the row's activity holds
constexpr std::int32_t fadeStep = 10;      // per tick
constexpr std::int32_t fadeFloor = 11;     // the fade stops above it
constexpr std::int32_t playingFade = 5;    // below it the row is stopped
constexpr std::int32_t audibleFade = 10;   // at or below it the row is silent
constexpr std::int32_t masterRise = 20, masterRiseBelow = 85;
constexpr std::int32_t masterFall = 10, masterFallAbove = 15;
constexpr std::int32_t masterTop = 100;
constexpr std::int32_t quietestMotor = -3000;  // 1/100 dB: anything quieter is silence
constexpr long double motorVolumeScale = 1660;
constexpr long double dieselRamp = 10;     // engine speed units over which a diesel row fades in and out

std::size_t band(const Run& run, std::int32_t p)
{
    return p >= 0 && static_cast<std::size_t>(p) < run.vehicle.driveSounds.size() ? runningSoundChannel(static_cast<std::size_t>(p))
                                                                                  : noSoundChannel;
}

// The cross-fade shares of a band: 1 % rather than nothing.
std::int32_t crossFadeVolume(std::int32_t percent)
{
    return volumeOfPercent(percent == 0 ? 1 : percent);
}

long double along(long double x, long double x0, long double x1, long double y0, long double y1)
{
    return x1 == x0 ? y0 : y0 + (x - x0) * (y1 - y0) / (x1 - x0);
}

bool rowActive(const Run& run, const EngineSound1Row& row)
{
    const ControlState& c = run.state.controls;
    switch (row.activity) {
    case 0: return c.appliedPowerNotch >= 1;
    case 1: return c.appliedBrakeNotch < 0;
    case 2: return true;
    default: return false;
    }
}

bool controlsApplied(const Run& run)
{
    const ControlState& c = run.state.controls;
    const ProtectionState& p = run.state.protection;
    return c.appliedPowerNotch >= 1 || c.appliedBrakeNotch < 0 || p.protectionEmergencyBrake || p.protectionServiceBrake;
}

void followMaster(Run& run)
{
    std::int32_t& master = run.state.sound.motorMaster;
    if (controlsApplied(run)) {
        if (master < masterRiseBelow)
            master += masterRise;
    } else if (master > masterFallAbove) {
        master -= masterFall;
    }
    if (master > masterTop)
        master = masterTop;
}

// The row's pitch and volume target for x, the speed or engine speed; a
// target of 1 % outside the row's speeds, its pitch left as it was.
void followSpeed(const EngineSound1Row& row, long double x, bool diesel, long double& ratio, long double& target)
{
    const auto& s = row.speeds;
    const auto& f = row.frequencyRatios;
    const auto& w = row.volumePercents;
    if (s[0] <= x && x <= s[1]) {
        ratio = along(x, s[0], s[1], f[0], f[1]);
        target = along(x, s[0], s[1], w[0], w[1]);
    } else if (s[1] < x && x <= s[2]) {
        ratio = along(x, s[1], s[2], f[1], f[2]);
        target = along(x, s[1], s[2], w[1], w[2]);
    } else if (diesel && s[0] - dieselRamp <= x && x < s[0]) {
        ratio = f[0];
        target = along(x, s[0] - dieselRamp, s[0], 0, w[0]);
    } else if (diesel && s[2] < x && x <= s[2] + dieselRamp) {
        ratio = f[2];
        target = along(x, s[2], s[2] + dieselRamp, w[2], 0);
    } else {
        target = 1;
    }
}

}  // namespace

void runningSoundBands(Run& run)
{
    SoundDevice& sound = run.sound;
    const std::int32_t v = static_cast<std::int32_t>(std::llabs(roundHalfAway(run.state.dynamics.trainSpeed)));
    if (v >= topBand * bandWidth) {
        sound.loopIfSilent(band(run, topBand));
        sound.setVolume(band(run, topBand), fullVolume);
        return;
    }
    const std::int32_t p = std::min(v / bandWidth, lastCrossFade);
    if (v > bandWidth && p >= 2)
        sound.stopIfPlaying(band(run, p - 1));
    if (v < lastCrossFade * bandWidth)
        sound.stopIfPlaying(band(run, p + 2));
    sound.loopIfSilent(band(run, p));
    sound.loopIfSilent(band(run, p + 1));
    const std::int32_t share = v % bandWidth * 10;  // percent of the way to the next band
    if (p >= 1)
        sound.setVolume(band(run, p), crossFadeVolume(100 - share));
    sound.setVolume(band(run, p + 1), crossFadeVolume(share));
}

void motorSounds(Run& run)
{
    const VehicleSpec& v = run.vehicle;
    SoundState& s = run.state.sound;
    const bool diesel = v.engineType == 0;
    const long double x = diesel ? run.state.engine.engineSpeed : run.state.dynamics.trainSpeed;
    followMaster(run);
    for (std::size_t j = 0; j < v.engineSound1.size() && j < s.motorFade.size(); ++j) {
        const EngineSound1Row& row = v.engineSound1[j];
        followSpeed(row, x, diesel, s.motorRatio[j], s.motorTarget[j]);
        std::int32_t& fade = s.motorFade[j];
        if (rowActive(run, row))
            fade = fadedIn;
        else if (fade > fadeFloor)
            fade -= fadeStep;

        const long double target = std::max<long double>(s.motorTarget[j], 1);
        const std::int32_t level = volumeOfRatio(target * fade * s.motorMaster / 1e6L, motorVolumeScale);
        const std::size_t channel = engineSound1Channel(v, run.route, j);
        run.sound.setVolume(channel, level > quietestMotor && fade > audibleFade ? level : silentVolume);
        run.sound.setFrequencyRatio(channel, static_cast<double>(s.motorRatio[j]));
        if (fade < playingFade)
            run.sound.stopIfPlaying(channel);
        else
            run.sound.loopIfSilent(channel);
    }
}

}  // namespace cabdrive
