// The value display: the run's inner values as text, the sound channel grid
// and the three buttons.
#include "view/value_display.h"

#include <algorithm>
#include <cstdio>

#include "common/number_conversion.h"
#include "common/rounding.h"
#include "data/route_distances.h"
#include "data/route_file.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr long double noDistance = 9;  // an empty upcoming-limit slot reads as 9

// Fixed-point with `decimals` places, then the unit.
std::string fixed(long double value, int decimals, const char* unit = "")
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*Lf%s", decimals, value, unit);
    return text;
}

std::string number(long long value)
{
    return std::to_string(value);
}

// A fixed4 as its own digits, up to four decimals, trailing zeros dropped.
std::string shortFixed(fixed4 value)
{
    std::string text = fixed(value.value(), 4);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.')
        text.pop_back();
    return text;
}

template <typename... Values>
std::string joined(const char* separator, Values... values)
{
    std::string out;
    ((out += (out.empty() ? "" : separator) + number(values)), ...);
    return out;
}

const std::string& stationName(const Run& run, std::size_t i)
{
    static const std::string none;
    return i < run.route.stations.size() ? run.route.stations[i].name : none;
}

// The station the preceding train stands at or has left last, and the next one.
std::string precedingTrainStations(const Run& run)
{
    const StationTable& stations = run.route.stations;
    const std::int32_t frame = run.state.dynamics.precedingFrame;
    for (std::size_t i = 0; i < stations.size(); ++i) {
        const bool last = i + 1 == stations.size();
        if (stations[i].stopFrame <= frame && (last || frame < stations[i + 1].stopFrame))
            return "(" + stationName(run, i) + "～" + stationName(run, i + 1) + ")";
    }
    return "(～)";
}

// distance m / km/h / braking distance m of an upcoming-limit slot.
std::string limitLine(const UpcomingLimit& slot)
{
    if (slot.row < 0)
        return joined("/", roundHalfAway(noDistance), 0, 0);
    return joined("/", roundHalfAway(slot.distance / 100.0L), slot.limit, roundHalfAway(slot.brakingDistance / 100.0L));
}

// The signal ahead (the first row whose own frame lies beyond the train's)
// and the rows after it.
void signalsAhead(const Run& run, ValueDisplayTexts& out)
{
    const SignalTable& rows = run.route.signals;
    const SignalState& sig = run.state.signals;
    std::size_t first = 0;
    while (first < rows.size() && rows[first].column(6) <= run.state.video.currentFrame)
        ++first;
    for (std::size_t k = 0; k < out.signals.size(); ++k) {
        const std::size_t row = first + k;
        out.signalRows[k] = row < rows.size() ? static_cast<int>(row) : -1;
        if (row >= rows.size())
            continue;
        const std::int32_t aspect = row < sig.aspects.size() ? sig.aspects[row] : 0;
        const std::int32_t display = row < sig.displays.size() ? sig.displays[row] : 0;
        out.signals[k] = number(aspect) + " " + number(display);
    }
}

void speedsAndForces(const Run& run, ValueDisplayTexts& out)
{
    const RunState& s = run.state;
    const DynamicsState& d = s.dynamics;
    const long double mass = run.vehicle.trainMass.value() * 1000;  // kg
    const long double acceleration = mass > 0 ? (d.tractionForce.value() + d.resistanceForce.value()) / mass * 3.6L : 0;
    out.speed = fixed(d.trainSpeed, 1, " km/h");
    out.acceleration = fixed(acceleration, 1, " km/h/s");
    out.traction = fixed(d.tractionForce.value(), 0, " N");
    out.resistance = fixed(d.resistanceForce.value(), 0, " N");
    out.gradient = fixed(d.effectiveGradient.value(), 0, " Permil");
    out.slopePost = s.trackside.gradientText;
    out.adhesion = d.slipIndication + " " + shortFixed(d.adhesionCoefficient) + " " + shortFixed(d.adhesionLimit) + "N";
    const ControlState& c = s.controls;
    out.notches = "P " + joined(" ", d.currentStep, c.powerHandle, c.appliedPowerNotch) + " B "
                + joined(" ", s.air.brakeCurrentStep, c.brakeHandle, c.appliedBrakeNotch, c.sapBrakeNotch, c.electricBrakeNotch);
    out.gear = "Gn " + number(s.engine.currentGear) + " Gp " + number(s.engine.gearLever);
    out.current = number(d.motorCurrent) + " A";
    out.electricBrake = fixed(s.air.electricBrakeCurrent, 0, "A");
    out.engineSpeed = number(roundHalfAway(s.engine.engineSpeed));
}

void air(const Run& run, ValueDisplayTexts& out)
{
    const AirState& a = run.state.air;
    out.bcMotorCar = fixed(a.bcMotorCar.value(), 0, "k");
    out.bcTrailerCar = fixed(a.bcTrailerCar.value(), 0, "k");
    out.sap = fixed(a.sapPressure.value(), 0, " kPa");
    out.er = fixed(a.erPressure.value(), 0, " kPa");
    out.bp = fixed(a.bpPressure, 0, " kPa");
    out.mr = fixed(a.mrPressure.value(), 0, " kPa");
    // The cylinders' scale reaches a little beyond their emergency pressure.
    out.barPressureTop = std::max(1, run.vehicle.ebPress + run.vehicle.ebPress / 4);
    out.barCurrentTop = std::max(1, run.vehicle.eBrakeCurr);
    out.barMotorCar = std::clamp(saturateInt32(roundHalfAway(a.bcMotorCar.value())), 0, out.barPressureTop);
    out.barTrailerCar = std::clamp(saturateInt32(roundHalfAway(a.bcTrailerCar.value())), 0, out.barPressureTop);
    out.barElectricBrake = std::clamp(saturateInt32(roundHalfAway(a.electricBrakeCurrent)), 0, out.barCurrentTop);
}

void positionAndVideo(const Run& run, ValueDisplayTexts& out, int drawingRate)
{
    const RunState& s = run.state;
    const DynamicsState& d = s.dynamics;
    out.frame = number(s.video.currentFrame);
    out.filmingSpeed = number(s.video.filmingSpeed) + " km/h";
    out.playbackFrame = number(s.video.playbackFrame);
    out.videoMode = number(s.video.videoMode);
    out.distanceToStop = fixed(d.distanceToStop, 0, " cm");
    out.distanceRun = fixed(d.trainPosition / 100, 0, " m");
    out.nextStop = fixed(d.nextStopPosition / 100, 0, " m ") + number(s.stations.currentStation);
    out.precedingTrain = precedingTrainStations(run);
    out.precedingFrame = number(d.precedingFrame);
    out.informationFrame = number(s.presentation.informationFrame);
    out.drawingRate = number(drawingRate);
}

void protection(const Run& run, ValueDisplayTexts& out)
{
    const RunState& s = run.state;
    const ProtectionState& p = s.protection;
    const SignalState& sig = s.signals;
    const long long toTarget = roundHalfAway((p.patternTarget - s.dynamics.trainPosition) / 100);
    out.patternDistance = number(toTarget);
    out.patternCode = number(p.patternCode);
    out.patternLine = joined("/", toTarget, p.patternCode, p.patternSpeedA, p.patternSpeedB);
    out.limitLine = limitLine(sig.upcomingLimits[0]);
    out.checkLine = limitLine(sig.upcomingLimits[3]);
    out.signalLine = "Signal now:" + number(sig.signalDisplay) + " now2:" + number(sig.signalDisplayPrevious)
                   + " lim_now:" + number(p.atsCheckSpeed);
    signalsAhead(run, out);
    out.protection1 = sig.protectionText1;
    out.protection2 = sig.protectionText2;
}

void sound(const Run& run, ValueDisplayTexts& out)
{
    out.signCallout = number(run.state.trackside.pendingSignCallout);
    const VehicleSpec& v = run.vehicle;
    out.soundGroups = "Sound D:" + number(static_cast<long long>(v.driveSounds.size()))
                    + " L:" + number(static_cast<long long>(run.route.soundData.size()))
                    + " M:" + number(static_cast<long long>(v.engineSound1.size() + v.engineSound3.size())) + " K:1";
}

}  // namespace

ValueDisplayTexts valueDisplayTexts(const Run& run, int drawingRate)
{
    ValueDisplayTexts out;
    speedsAndForces(run, out);
    air(run, out);
    positionAndVideo(run, out, drawingRate);
    protection(run, out);
    sound(run, out);
    return out;
}

std::array<SoundGridCell, soundGridSide * soundGridSide> soundGrid(const Run& run)
{
    std::array<SoundGridCell, soundGridSide * soundGridSide> cells{};
    for (std::size_t channel = 0; channel < cells.size(); ++channel) {
        if (run.sound.holdsSound(channel) && run.sound.isPlaying(channel)) {
            cells[channel].playing = true;
            cells[channel].text = number(static_cast<long long>(channel));
        }
    }
    return cells;
}

void stopGridChannel(Run& run, int column, int row)
{
    if (column < 0 || column >= soundGridSide || row < 0 || row >= soundGridSide)
        return;
    const auto channel = static_cast<std::size_t>(row * soundGridSide + column);
    if (run.sound.holdsSound(channel))
        run.sound.stopIfPlaying(channel);
}

bool reloadSpeedUnits(Run& run)
{
    std::unique_ptr<SpeedUnitTable> table = readSpeedUnits(run.route.programFolder, run.route.routeFileName);
    if (!table)
        return false;
    // The rows' end distances put the train back on a row boundary it crosses.
    deriveSpeedUnitDistances(*table);
    run.reloadedSpeedUnits = std::move(table);
    return true;
}

bool jumpToFrame(Run& run, const std::string& text)
{
    const std::optional<std::int32_t> frame = toInt(text);
    if (!frame)
        return false;
    run.state.video.currentFrame = *frame;
    return true;
}

bool toggleResistance(Run& run)
{
    bool& off = run.state.input.resistanceDebug;
    off = !off;
    return off;
}

}  // namespace cabdrive
