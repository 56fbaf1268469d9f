// The program's own rounding, the platform's, and the fixed4 store.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/fixed4.h"
#include "common/rounding.h"

namespace cabdrive {
namespace {

TEST(Rounding, HalfAwayFromZeroIsTheProgramsOwn)
{
    EXPECT_EQ(roundHalfAway(2.5L), 3);
    EXPECT_EQ(roundHalfAway(3.5L), 4);
    EXPECT_EQ(roundHalfAway(-2.5L), -3);
    EXPECT_EQ(roundHalfAway(2.4999L), 2);
    EXPECT_EQ(roundHalfAway(-0.4L), 0);
    EXPECT_EQ(roundHalfAway(0.6L * 25), 15);  // the clock's hour hand of a 25 px hand
}

TEST(Rounding, TiesToEvenIsThePlatformDefault)
{
    EXPECT_EQ(roundTiesEven(2.5L), 2);
    EXPECT_EQ(roundTiesEven(3.5L), 4);
    EXPECT_EQ(roundTiesEven(-2.5L), -2);
    EXPECT_EQ(roundTiesEven(2.5000001L), 3);
    EXPECT_EQ(roundTiesEven(-3.5L), -4);
    EXPECT_EQ(roundTiesEven(-0.4999999L), 0);
    // The same as the floating-point unit's own rounding over quarters,
    // thirds and large values near the limits of exact fractions.
    for (long double x = -1000; x <= 1000; x += 0.25L)
        ASSERT_EQ(roundTiesEven(x), static_cast<std::int64_t>(std::nearbyint(x))) << static_cast<double>(x);
    for (long double x = -1000; x <= 1000; x += 1.0L / 3)
        ASSERT_EQ(roundTiesEven(x), static_cast<std::int64_t>(std::nearbyint(x))) << static_cast<double>(x);
    for (long double x : {4503599627370495.5L, 9007199254740993.5L, -9007199254740993.5L, 1e18L + 0.5L})
        EXPECT_EQ(roundTiesEven(x), static_cast<std::int64_t>(std::nearbyint(x))) << static_cast<double>(x);
}

TEST(Rounding, AbsurdValuesSaturateInsteadOfOverflowing)
{
    constexpr auto int64Max = std::numeric_limits<std::int64_t>::max();
    constexpr auto int64Min = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(roundTiesEven(1e30L), int64Max);
    EXPECT_EQ(roundTiesEven(-1e30L), int64Min);
    EXPECT_EQ(roundHalfAway(std::numeric_limits<long double>::infinity()), int64Max);
    EXPECT_EQ(roundTiesEven(std::nanl("")), 0);
    EXPECT_EQ(saturateInt32(5'000'000'000LL), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(saturateInt32(-5'000'000'000LL), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(saturateInt32(-7), -7);
}

TEST(Fixed4, StoresRoundToTheNearestTenThousandth)
{
    EXPECT_EQ(fixed4::fromValue(0.123456L).raw, 1235);
    EXPECT_EQ(fixed4::fromValue(0.123449L).raw, 1234);
    EXPECT_EQ(fixed4::fromValue(-1.5L).raw, -15000);
    EXPECT_EQ(fixed4::fromValue(-0.000051L).raw, -1);
    EXPECT_EQ(fixed4::fromInt(30).raw, 300000);
    EXPECT_EQ(fixed4::fromRaw(12345).value(), 1.2345L);
}

}  // namespace
}  // namespace cabdrive
