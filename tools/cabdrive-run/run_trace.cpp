// The CSV trace of a headless run.
#include "run_trace.h"

#include <cstdio>

#include "common/clock_text.h"
#include "sim/brake_air.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr const char* header =
    "time_s,clock,speed_kmh,position_m,frame,power_handle,applied_power,brake_handle,applied_brake,reverser,"
    "bc_kpa,bp_kpa,er_kpa,mr_kpa,sap_kpa,traction_n,brake_n,resistance_n,slip,"
    "reverser_text,power_text,brake_text,station_text,message,"
    "station,signal_row,signal_display,ats_check_kmh,protection_eb,protection_sb,pattern_state,pattern_brake_kmh,pattern_warning_kmh,"
    "doors_open,door_command,callouts_queued,gear,engine_rpm,information,gradient_permil,front_gradient_permil\n";

// Texts are quoted, with quotes doubled.
std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace

// The station, signal, protection, door, call-out and engine columns.
void RunTrace::writeSignalsAndStations(const Run& run)
{
    const RunState& s = run.state;
    const ProtectionState& p = s.protection;
    const auto station = static_cast<std::size_t>(s.stations.currentStation);
    m_out << quoted(station < run.route.stations.size() ? run.route.stations[station].name : std::string()) << ','
          << s.signals.signalAheadRow << ',' << s.signals.signalDisplay << ',' << p.atsCheckSpeed << ','
          << p.protectionEmergencyBrake << ',' << p.protectionServiceBrake << ',' << p.patternState << ','
          << p.patternSpeedA << ',' << p.patternSpeedB << ',' << s.doors.doorsOpen << ',' << s.doors.doorOpenCommand << ','
          << s.callouts.queued << ',' << s.engine.currentGear << ',' << static_cast<double>(s.engine.engineSpeed) << ','
          << quoted(s.presentation.informationText) << ',' << static_cast<double>(s.dynamics.effectiveGradient.value())
          << ',' << static_cast<double>(s.dynamics.frontGradient.value());
}

RunTrace::RunTrace(const std::string& path) : m_out(path), m_path(path)
{
    if (!m_out)
        throw TraceError("cannot write the trace " + path);
    m_out << header;
}

void RunTrace::write(const Run& run, std::chrono::nanoseconds runningTime)
{
    const RunState& s = run.state;
    const ControlState& c = s.controls;
    const AirState& a = s.air;
    const DynamicsState& d = s.dynamics;
    char numbers[512];
    std::snprintf(numbers, sizeof numbers,
                  "%.1f,%s,%.3f,%.3f,%d,%d,%d,%d,%d,%d,%.1f,%.1f,%.1f,%.1f,%.1f,%.0f,%.0f,%.0f,",
                  static_cast<double>(runningTime.count()) / 1e9, clockText(s.time.clockTicks).c_str(),
                  static_cast<double>(d.trainSpeed), static_cast<double>(d.trainPosition / 100), s.video.currentFrame,
                  c.powerHandle, c.appliedPowerNotch, c.brakeHandle, c.appliedBrakeNotch, c.reverser,
                  static_cast<double>(gaugedBrakeCylinder(run)), static_cast<double>(a.bpPressure),
                  static_cast<double>(a.erPressure.value()), static_cast<double>(a.mrPressure.value()),
                  static_cast<double>(a.sapPressure.value()), static_cast<double>(d.tractionForce.value()),
                  static_cast<double>(d.brakeForce.value()), static_cast<double>(d.resistanceForce.value()));
    m_out << numbers << quoted(d.slipIndication) << ',' << quoted(c.reverserText) << ',' << quoted(c.powerText) << ','
          << quoted(c.brakeText) << ',' << quoted(s.stations.nextStationText) << ',' << quoted(s.presentation.messageText) << ',';
    writeSignalsAndStations(run);
    m_out << '\n';
    if (!m_out)
        throw TraceError("cannot write the trace " + m_path);
}

}  // namespace cabdrive
