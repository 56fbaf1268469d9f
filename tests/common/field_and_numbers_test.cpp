// The comma-field extractor and the strict number conversions.
#include <gtest/gtest.h>

#include "common/field.h"
#include "common/number_conversion.h"

namespace cabdrive {
namespace {

TEST(Field, CountsFromOneAndKeepsBlanks)
{
    EXPECT_EQ(field("12, 34 ,x", 1), "12");
    EXPECT_EQ(field("12, 34 ,x", 2), " 34 ");
    EXPECT_EQ(field("12, 34 ,x", 3), "x");
    EXPECT_EQ(field("a,,b", 2), "");
    EXPECT_EQ(field("a,b,", 3), "");
}

TEST(Field, MissingFieldReadsAsErrorExceptFieldOneOfALineWithoutComma)
{
    EXPECT_EQ(field("640", 1), "640");
    EXPECT_EQ(field("640", 2), "Error");
    EXPECT_EQ(field("a,b", 3), "Error");
    EXPECT_EQ(field("", 1), "");
    EXPECT_EQ(field("", 2), "Error");
    EXPECT_FALSE(toInt(field("640", 2)));
}

TEST(NumberConversion, IntegersAllowBlanksAndTrailingCrOnly)
{
    EXPECT_EQ(toInt("42"), 42);
    EXPECT_EQ(toInt("  -7\t"), -7);
    EXPECT_EQ(toInt("+3\r"), 3);
    EXPECT_EQ(toInt("-2147483648"), -2147483648LL);
    EXPECT_EQ(toInt("2147483647"), 2147483647);
    for (const char* bad : {"", " ", "2147483648", "-2147483649", "1.0", "12a", "1 2", "Error", "0x10", "+", "\r3"})
        EXPECT_FALSE(toInt(bad)) << bad;
}

TEST(NumberConversion, DecimalsAcceptPointAndExponentAndRefuseTheRest)
{
    EXPECT_EQ(toDecimal("1.5"), 1.5L);
    EXPECT_EQ(toDecimal(" -0.25 \r"), -0.25L);
    EXPECT_EQ(toDecimal("+2"), 2.0L);
    EXPECT_EQ(toDecimal(".5"), 0.5L);
    EXPECT_EQ(toDecimal("3."), 3.0L);
    EXPECT_EQ(toDecimal("1e3"), 1000.0L);
    EXPECT_EQ(toDecimal("2.5E-1"), 0.25L);
    for (const char* bad : {"", ".", "1,5", "inf", "nan", "1e", "1e+", "--1", "1.2.3", "1e99999", "Error"})
        EXPECT_FALSE(toDecimal(bad)) << bad;
}

TEST(NumberConversion, Fixed4IsExactInDecimalAndRoundsTiesToEven)
{
    EXPECT_EQ(toFixed4("1.2345")->raw, 12345);
    EXPECT_EQ(toFixed4("-0.5")->raw, -5000);
    EXPECT_EQ(toFixed4("35")->raw, 350000);
    EXPECT_EQ(toFixed4("0.1")->raw, 1000);  // exact, unlike the binary 0.1
    EXPECT_EQ(toFixed4("0.00005")->raw, 0);   // tie: to even
    EXPECT_EQ(toFixed4("0.00015")->raw, 2);   // tie: to even
    EXPECT_EQ(toFixed4("0.000151")->raw, 2);
    EXPECT_EQ(toFixed4("0.00025")->raw, 2);
    EXPECT_EQ(toFixed4("-0.00015")->raw, -2);
    EXPECT_EQ(toFixed4("0.99995")->raw, 10000);
    EXPECT_EQ(toFixed4("1.5e2")->raw, 1500000);
    EXPECT_EQ(toFixed4(" 2 \r")->raw, 20000);
    EXPECT_EQ(toFixed4("922337203685477.5807")->raw, 9223372036854775807LL);
    EXPECT_FALSE(toFixed4("922337203685477.5808"));
    for (const char* bad : {"", "x", "1,0", "Error", "1e"})
        EXPECT_FALSE(toFixed4(bad)) << bad;
}

}  // namespace
}  // namespace cabdrive
