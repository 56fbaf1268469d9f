// Rounding helpers shared by the loaders and the simulation.
#include "common/rounding.h"

#include <cmath>
#include <limits>

namespace cabdrive {

namespace {

std::int64_t saturatingTruncate(long double x)
{
    constexpr long double lowest = static_cast<long double>(std::numeric_limits<std::int64_t>::min());
    constexpr long double highest = static_cast<long double>(std::numeric_limits<std::int64_t>::max());
    if (std::isnan(x))
        return 0;
    if (x <= lowest)
        return std::numeric_limits<std::int64_t>::min();
    if (x >= highest)
        return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(x);
}

}  // namespace

std::int64_t roundHalfAway(long double x)
{
    return saturatingTruncate(x >= 0 ? x + 0.5L : x - 0.5L);
}

std::int64_t roundTiesEven(long double x)
{
    // The same result as nearbyint in the default rounding mode, without its
    // cost: every fixed4 store of the physics comes through here. Both the
    // truncation and the fraction are exact in long double.
    const std::int64_t whole = saturatingTruncate(x);
    if (whole == std::numeric_limits<std::int64_t>::min() || whole == std::numeric_limits<std::int64_t>::max())
        return whole;
    const long double fraction = x - static_cast<long double>(whole);
    if (fraction > 0.5L || (fraction == 0.5L && whole % 2 != 0))
        return whole + 1;
    if (fraction < -0.5L || (fraction == -0.5L && whole % 2 != 0))
        return whole - 1;
    return whole;
}

std::int32_t saturateInt32(std::int64_t x)
{
    if (x < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    if (x > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(x);
}

}  // namespace cabdrive
