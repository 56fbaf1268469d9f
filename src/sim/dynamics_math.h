// Small arithmetic shared by traction, the force balance and the air brake.
#pragma once

#include <cmath>
#include <cstdint>

#include "common/fixed4.h"

namespace cabdrive {

// fixed4 fields are worked on as real numbers and stored back rounded.
inline void addTo(fixed4& field, long double amount)
{
    field = fixed4::fromValue(field.value() + amount);
}

inline void clampAtZero(fixed4& field)
{
    if (field.raw < 0)
        field = fixed4{};
}

inline void clampAtZero(long double& value)
{
    if (value < 0)
        value = 0;
}

// A quotient whose divisor comes from a data file: a zero divisor (a missing
// mass, pressure or current) contributes nothing instead of an infinity.
inline long double quotientOrZero(long double numerator, long double denominator)
{
    return denominator == 0 ? 0 : numerator / denominator;
}

// base^exponent by repeated squaring: 1 for exponent 0, the reciprocal for a
// negative exponent.
inline long double integerPower(long double base, std::int64_t exponent)
{
    const bool reciprocal = exponent < 0;
    std::uint64_t n = reciprocal ? 0 - static_cast<std::uint64_t>(exponent) : static_cast<std::uint64_t>(exponent);
    long double result = 1;
    long double square = base;
    while (n > 0) {
        if (n & 1)
            result *= square;
        square *= square;
        n >>= 1;
    }
    return reciprocal ? 1 / result : result;
}

}  // namespace cabdrive
