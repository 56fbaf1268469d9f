// The sounds of the brakes and the air.
#include "sound/brake_sounds.h"

#include <algorithm>
#include <cmath>

#include "common/rounding.h"
#include "sound/sound_volume.h"
#include "state/channel_layout.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr long double stepLag = 10;          // kPa the cylinders may lag before [Sound_BR]
constexpr std::int32_t automaticService = -3;  // the automatic brake's application position
constexpr std::int32_t automaticRunning = -1;
constexpr long double fullPipe = 490;        // kPa
constexpr long double pipeNearlyFull = 440;  // kPa: above it the charging fades out
constexpr long double chargingHeadroom = 50; // kPa below the main reservoir: charging at full volume
constexpr long double chargingStops = 10;    // kPa below the main reservoir
constexpr long double exhaustFullFrom = 100; // kPa of brake pipe
constexpr std::int32_t squealQuietest = -6000, squealStopsBelow = -5000;  // 1/100 dB
constexpr std::int32_t squealFadeReleased = 100, squealFadeStopped = 1000;  // 1/100 dB per tick
constexpr long double squealScale = -250000;

bool protectionBrakes(const Run& run)
{
    const ProtectionState& p = run.state.protection;
    return p.protectionEmergencyBrake || p.protectionServiceBrake;
}

void playOnce(Run& run, std::size_t channel)
{
    run.sound.play(channel, false);
}

}  // namespace

void brakeNotchSounds(Run& run)
{
    const VehicleSpec& v = run.vehicle;
    if (v.brakeType < 1 || protectionBrakes(run))
        return;
    const ControlState& c = run.state.controls;
    SoundState& s = run.state.sound;
    const long double cylinders = run.state.air.bcTrailerCar.value();
    if (c.brakeHandle != 0) {
        s.releaseSoundLatched = false;
    } else if (!s.releaseSoundLatched && cylinders > 0 && c.appliedBrakeNotch != -1) {
        playOnce(run, notchSound(v.soundBrakeBK, -c.appliedBrakeNotch));
        s.releaseSoundLatched = true;
    }
    const long double called = static_cast<long double>(v.maxPress) / v.brakeNotches * -c.brakeHandle;  // kPa
    if (c.brakeHandle < c.appliedBrakeNotch && cylinders < called - stepLag && !s.brakeStepSoundLatched) {
        playOnce(run, notchSound(v.soundBrakeBR, -c.brakeHandle));
        s.brakeStepSoundLatched = true;
    }
    if (c.appliedBrakeNotch == c.brakeHandle)
        s.brakeStepSoundLatched = false;
}

void emergencyBrakeSound(Run& run)
{
    const VehicleSpec& v = run.vehicle;
    const RunState& state = run.state;
    bool emergency = false;
    if (v.brakeType <= 1) {
        const bool applied = state.protection.protectionEmergencyBrake || state.controls.brakeHandle == -v.brakeNotches;
        emergency = applied && state.air.bpPressure > 0;
    } else {
        emergency = state.air.bcTrailerCar.value() > v.maxPress && state.dynamics.trainSpeed > v.soundEb2;
    }
    bool& latched = run.state.sound.emergencySoundLatched;
    if (emergency && !latched)
        playOnce(run, vehicleSound(v.soundEb));
    latched = emergency;
}

void automaticBrakeAirSounds(Run& run)
{
    const VehicleSpec& v = run.vehicle;
    if (v.brakeType != 0)
        return;
    const long double pipe = run.state.air.bpPressure;
    const long double reservoir = run.state.air.mrPressure.value();
    const std::int32_t position = run.state.controls.appliedBrakeNotch;

    const std::size_t exhaust = vehicleSound(v.soundApply1);
    if (position == automaticService && pipe > 0) {
        run.sound.loopIfSilent(exhaust);
        run.sound.setVolume(exhaust, pipe >= exhaustFullFrom ? fullVolume : volumeOfRatio(pipe / 100));
    } else {
        run.sound.stopIfPlaying(exhaust);
    }

    const std::size_t charging = vehicleSound(v.soundApply2);
    if (pipe + chargingStops >= reservoir || position < automaticRunning || pipe >= fullPipe) {
        run.sound.stopIfPlaying(charging);
        return;
    }
    run.sound.loopIfSilent(charging);
    if (pipe > pipeNearlyFull)
        run.sound.setVolume(charging, volumeOfRatio((fullPipe - pipe) / 100));
    else if (reservoir - pipe >= chargingHeadroom)
        run.sound.setVolume(charging, fullVolume);
    else
        run.sound.setVolume(charging, volumeOfRatio((reservoir - pipe) / 100));
}

void brakeSqueal(Run& run)
{
    const std::size_t squeal = vehicleSound(run.vehicle.soundSqueak);
    const long double cylinders = run.state.air.bcTrailerCar.value();  // kPa
    const bool electricBrake = run.state.air.electricBrakeCurrent != 0;
    const long double speed = std::fabs(run.state.dynamics.trainSpeed);  // km/h, either way
    std::int32_t& volume = run.state.sound.squealVolume;
    const auto dieAway = [&](std::int32_t step) {
        if (volume > squealQuietest) {
            volume -= step;
            run.sound.setVolume(squeal, volume);
        }
        if (volume < squealStopsBelow)
            run.sound.stopIfPlaying(squeal);
    };

    const bool airAlone = cylinders > 0 && !electricBrake && speed > 1;
    if (airAlone && !run.sound.isPlaying(squeal))
        run.sound.restart(squeal, true);
    if (cylinders == 0)
        dieAway(squealFadeReleased);
    if (speed < 1)
        dieAway(squealFadeStopped);
    if (airAlone) {
        const long double loudness = squealScale * speed / (run.vehicle.loseElec * cylinders);
        volume = static_cast<std::int32_t>(std::clamp<std::int64_t>(roundTiesEven(loudness), silentVolume, fullVolume));
        run.sound.setVolume(squeal, volume);
    }
}

}  // namespace cabdrive
