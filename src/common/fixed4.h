// fixed4: a decimal held as a signed 64-bit count of 1/10000.
#pragma once

#include <cstdint>

namespace cabdrive {

// Masses, brake rates, gradients and the simulation's pressures use this form.
// Every store from a binary float rounds to the nearest count, ties to even.
struct fixed4 {
    static constexpr std::int64_t scale = 10000;

    std::int64_t raw = 0;  // value x 10000

    static constexpr fixed4 fromRaw(std::int64_t raw) { return fixed4{raw}; }
    static constexpr fixed4 fromInt(std::int64_t whole) { return fixed4{whole * scale}; }
    static fixed4 fromValue(long double value);

    long double value() const { return static_cast<long double>(raw) / scale; }

    friend constexpr bool operator==(fixed4, fixed4) = default;
};

}  // namespace cabdrive
