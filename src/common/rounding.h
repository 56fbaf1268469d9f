// The two roundings the program uses: its own (halves away from zero) and the
// floating-point default (nearest, ties to even).
#pragma once

#include <cstdint>

namespace cabdrive {

// Truncates x + 0.5 for x >= 0 and x - 0.5 below: halves go away from zero.
std::int64_t roundHalfAway(long double x);

// Nearest integer with ties to even. Values beyond the int64 range saturate and
// NaN gives 0, so absurd data never reaches undefined conversions.
std::int64_t roundTiesEven(long double x);

// Narrows to int32, saturating at the ends of its range.
std::int32_t saturateInt32(std::int64_t x);

}  // namespace cabdrive
