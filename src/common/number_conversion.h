// Strict conversions of data-file texts to numbers.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "common/fixed4.h"

namespace cabdrive {

// Each accepts blanks (spaces, tabs) around the number and a trailing CR, and
// nothing else: "12a", "", "Error" or "1 2" fail with an empty result.

// Decimal integer with an optional sign, within the int32 range.
std::optional<std::int32_t> toInt(std::string_view text);

// Decimal number with "." as decimal point and an optional exponent
// ("-1.5", "+2", ".5", "3.", "1e3"); infinities and NaN are refused.
std::optional<long double> toDecimal(std::string_view text);

// Same syntax as toDecimal, converted exactly from the decimal digits to
// 1/10000 units; digits beyond the fourth decimal round to nearest, ties to even.
std::optional<fixed4> toFixed4(std::string_view text);

}  // namespace cabdrive
