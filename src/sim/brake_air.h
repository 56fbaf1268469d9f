// The air brake system: brake cylinders, pipes and reservoirs, the
// compressor, the horn's air and the electric brake current.
#pragma once

namespace cabdrive {

struct Run;

// 10 x k^(-p/10) + 1: divides a release step so that a cylinder empties at
// full rate at high pressure (p in kPa) and slowly near 0 (divisor 11 at p = 0).
long double releaseCurve(long double p, long double k);

// Physics step: the pressures of the vehicle's brake kind, then the main
// reservoir's leak of 0.2 kPa/s.
void updateAirBrake(Run& run);

// 100 ms tick: the compressor with its start, running and end sounds.
void runCompressor(Run& run);

// 100 ms tick: the horn draws from the main reservoir and dips its needle.
void updateHornAir(Run& run);

// kPa shown by the main-reservoir needle: the pressure plus the horn's dip.
long double mainReservoirNeedleValue(const Run& run);

// kPa of the brake cylinder the gauges show: the motor car's when the
// vehicle's [Mc] is 1, else the trailer car's.
long double gaugedBrakeCylinder(const Run& run);

// 100 ms tick: the electric brake current (ramped or from the current
// table) and, while it flows, the ammeter.
void updateElectricBrakeCurrent(Run& run);

}  // namespace cabdrive
