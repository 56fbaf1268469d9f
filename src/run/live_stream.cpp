// The live stream's messages and inputs.
#include "run/live_stream.h"

#include <utility>

#include "common/clock_text.h"
#include "common/json_text.h"
#include "run/driver_input.h"
#include "sim/brake_air.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr int ticksPerSecond = 30;      // of the timetable clock
constexpr std::string_view lampPrefix = "img_Lamp_";

// Every field of the run and tick messages with its unit, as the hello
// message announces them; "a.b" is field b of object a.
constexpr std::pair<std::string_view, std::string_view> fieldUnits[] = {
    {"line", "text"},
    {"power_notches", "count"},
    {"brake_notches", "count"},
    {"stations", "list"},
    {"stations.name", "text"},
    {"stations.kind", "0 stop, 1 pass, 2 stop without passengers, 3 special"},
    {"stations.departure", "hh:mm:ss"},
    {"tick", "ticks of 100 ms since the run started"},
    {"clock", "hh:mm:ss"},
    {"clock_seconds", "s since midnight"},
    {"speed", "km/h"},
    {"position", "m"},
    {"frame", "video frame"},
    {"power.handle", "notch"},
    {"power.notch", "notch"},
    {"power.text", "text"},
    {"brake.handle", "notch, negative; -brake_notches is emergency"},
    {"brake.notch", "notch, negative; -brake_notches is emergency"},
    {"brake.text", "text"},
    {"reverser.position", "1 forward, 0 neutral, -1 reverse"},
    {"reverser.text", "text"},
    {"pressures.bc", "kPa"},
    {"pressures.bp", "kPa"},
    {"pressures.er", "kPa"},
    {"pressures.mr", "kPa"},
    {"pressures.sap", "kPa"},
    {"motor_current", "A"},
    {"line_voltage", "V"},
    {"lamps", "names of the lamps lit"},
    {"signal", "object, null when no signal lies ahead"},
    {"signal.aspect", "0 stop .. highest aspect"},
    {"signal.display", "display index"},
    {"signal.speed", "km/h, null when the line gives the aspect none"},
    {"signal.distance", "m"},
    {"protection.type", "0 spot, 1 pattern, 2 cab signalling"},
    {"protection.active", "flag"},
    {"protection.check_speed", "km/h, null when nothing is checked"},
    {"protection.stop_alarm_pending", "flag"},
    {"protection.alarm", "flag"},
    {"protection.emergency_brake", "flag"},
    {"protection.service_brake", "flag"},
    {"protection.pattern", "object, null without a braking curve"},
    {"protection.pattern.state", "0 none, 1 warning, 2 brake, 3 stop brake"},
    {"protection.pattern.target_speed", "km/h"},
    {"protection.pattern.brake_speed", "km/h"},
    {"protection.pattern.warning_speed", "km/h"},
    {"next_station", "object, null after the last stop"},
    {"next_station.name", "text"},
    {"next_station.kind", "0 stop, 1 pass, 2 stop without passengers, 3 special"},
    {"next_station.distance", "m"},
    {"next_station.departure", "hh:mm:ss"},
    {"doors.open", "flag"},
    {"doors.closing", "flag"},
    {"station_text", "text"},
    {"information", "text"},
    {"message", "text"},
    {"message_count", "count"},
    {"input", "text"},
    {"error", "text"},
    {"type", "hello, run, tick, end or error"},
};

JsonObject typed(std::string_view type)
{
    JsonObject message;
    message.text("type", type);
    return message;
}

// The next station the train stops at, and the way to its stopping point.
JsonObject nextStation(const Run& run)
{
    const auto row = static_cast<std::size_t>(run.state.stations.nextStopStation);
    const Station& station = run.route.stations[row];
    return JsonObject()
        .text("name", station.name)
        .integer("kind", station.kind)
        .number("distance", static_cast<double>(run.state.dynamics.distanceToStop / 100), 2)
        .text("departure", clockText(station.departureTime));
}

bool hasNextStop(const Run& run)
{
    const std::int32_t row = run.state.stations.nextStopStation;
    return row >= 0 && static_cast<std::size_t>(row) < run.route.stations.size();
}

// The first signal whose own position lies ahead of the train.
const SignalRow* signalAhead(const Run& run, std::size_t& index)
{
    const SignalTable& signals = run.route.signals;
    const long double position = run.state.dynamics.trainPosition;
    for (index = 0; index < signals.size(); ++index) {
        if (signals[index].distance >= position)
            return &signals[index];
    }
    return nullptr;
}

JsonObject signal(const Run& run, const SignalRow& row, std::size_t index)
{
    const SignalState& s = run.state.signals;
    const std::int32_t aspect = index < s.aspects.size() ? s.aspects[index] : 0;
    JsonObject out;
    out.integer("aspect", aspect).integer("display", index < s.displays.size() ? s.displays[index] : 0);
    if (aspect >= 0 && static_cast<std::size_t>(aspect) < run.route.speedSignals.size())
        out.integer("speed", run.route.speedSignals[static_cast<std::size_t>(aspect)]);
    else
        out.null("speed");
    return out.number("distance", static_cast<double>((row.distance - run.state.dynamics.trainPosition) / 100), 2);
}

JsonObject protection(const Run& run)
{
    const ProtectionState& p = run.state.protection;
    JsonObject out;
    out.integer("type", run.vehicle.atsType).boolean("active", p.atsActive);
    if (p.atsCheckSpeed == ProtectionState::noCheck || p.atsCheckSpeed == ProtectionState::alarmAtStopSignal)
        out.null("check_speed");
    else
        out.integer("check_speed", p.atsCheckSpeed);
    out.boolean("stop_alarm_pending", p.atsCheckSpeed == ProtectionState::alarmAtStopSignal)
        .boolean("alarm", p.alarm)
        .boolean("emergency_brake", p.protectionEmergencyBrake)
        .boolean("service_brake", p.protectionServiceBrake);
    if (p.patternCode == ProtectionState::noPattern)
        return out.null("pattern");
    return out.object("pattern", JsonObject()
                                     .integer("state", p.patternState)
                                     .integer("target_speed", p.patternCode)
                                     .integer("brake_speed", p.patternSpeedA)
                                     .integer("warning_speed", p.patternSpeedB));
}

// The lamp sprites shown, by their names without "img_Lamp_", in drawing order.
std::vector<std::string> litLamps(const Run& run)
{
    std::vector<std::string> lit;
    for (const Sprite* sprite : run.scene.spritesInDrawingOrder()) {
        if (sprite->visible && sprite->name.starts_with(lampPrefix))
            lit.push_back(sprite->name.substr(lampPrefix.size()));
    }
    return lit;
}

// A restore stops the window's clocks and renames it; only its menu does that.
bool savesOrRestores(const DriverInput& input)
{
    return input.kind == DriverInput::Kind::Save || input.kind == DriverInput::Kind::Restore;
}

JsonObject handle(std::int32_t position, std::int32_t notch, const std::string& text)
{
    return JsonObject().integer("handle", position).integer("notch", notch).text("text", text);
}

JsonObject pressures(const Run& run)
{
    const AirState& a = run.state.air;
    return JsonObject()
        .number("bc", static_cast<double>(gaugedBrakeCylinder(run)), 1)
        .number("bp", static_cast<double>(a.bpPressure), 1)
        .number("er", static_cast<double>(a.erPressure.value()), 1)
        .number("mr", static_cast<double>(a.mrPressure.value()), 1)
        .number("sap", static_cast<double>(a.sapPressure.value()), 1);
}

}  // namespace

std::string liveHelloMessage()
{
    JsonObject units;
    for (const auto& [field, unit] : fieldUnits)
        units.text(field, unit);
    return typed("hello")
        .text("stream", liveStreamName)
        .integer("version", liveStreamVersion)
        .integer("tick_ms", 100)
        .object("units", units)
        .json();
}

std::string liveRunMessage(const Run& run)
{
    std::vector<JsonObject> stations;
    for (const Station& station : run.route.stations) {
        stations.push_back(JsonObject()
                               .text("name", station.name)
                               .integer("kind", station.kind)
                               .text("departure", clockText(station.departureTime)));
    }
    return typed("run")
        .text("line", run.route.lineName)
        .integer("power_notches", run.vehicle.powerNotches)
        .integer("brake_notches", run.vehicle.brakeNotches)
        .objects("stations", stations)
        .json();
}

std::string liveTickMessage(const Run& run, const ShownMessage& shown)
{
    const RunState& s = run.state;
    const ControlState& c = s.controls;
    const DynamicsState& d = s.dynamics;
    JsonObject message = typed("tick");
    message.integer("tick", s.time.tickCount)
        .text("clock", clockText(s.time.clockTicks))
        .number("clock_seconds", static_cast<double>(s.time.clockTicks) / ticksPerSecond, 2)
        .number("speed", static_cast<double>(d.trainSpeed), 2)
        .number("position", static_cast<double>(d.trainPosition / 100), 2)
        .integer("frame", s.video.currentFrame)
        .object("power", handle(c.powerHandle, c.appliedPowerNotch, c.powerText))
        .object("brake", handle(c.brakeHandle, c.appliedBrakeNotch, c.brakeText))
        .object("reverser", JsonObject().integer("position", c.reverser).text("text", c.reverserText))
        .object("pressures", pressures(run))
        .integer("motor_current", d.motorCurrent)
        .number("line_voltage", static_cast<double>(d.lineVoltage.value()), 1)
        .texts("lamps", litLamps(run));
    std::size_t signalIndex = 0;
    if (const SignalRow* row = signalAhead(run, signalIndex))
        message.object("signal", signal(run, *row, signalIndex));
    else
        message.null("signal");
    message.object("protection", protection(run));
    if (hasNextStop(run))
        message.object("next_station", nextStation(run));
    else
        message.null("next_station");
    return message
        .object("doors", JsonObject()
                             .boolean("open", s.doors.doorsOpen)
                             .boolean("closing", s.doors.doorsOpen && !s.doors.doorOpenCommand))
        .text("station_text", s.stations.nextStationText)
        .text("information", s.presentation.informationText)
        .text("message", shown.text)
        .integer("message_count", shown.count)
        .json();
}

std::string liveEndMessage()
{
    return typed("end").json();
}

std::string liveErrorMessage(std::string_view input, std::string_view why)
{
    return typed("error").text("input", input).text("error", why).json();
}

std::vector<std::string> applyLiveInputs(Run& run, std::string_view text)
{
    std::vector<std::string> errors;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.find_first_not_of(" \t") == std::string_view::npos || line.starts_with('#'))
            continue;
        const DriverInputReading reading = readDriverInput(line);
        if (!reading.input)
            errors.push_back(liveErrorMessage(line, reading.error));
        else if (savesOrRestores(*reading.input))
            errors.push_back(liveErrorMessage(line, "driving states are saved and restored from the Save menu"));
        else
            applyDriverInput(run, *reading.input);
    }
    return errors;
}

}  // namespace cabdrive
