// JSON text: escaping, numbers and nesting.
#include <gtest/gtest.h>

#include <cmath>

#include "common/json_text.h"

namespace {

using cabdrive::JsonObject;

TEST(JsonText, TextsAreEscapedAndNumbersWrittenWithPointsOrAsNull)
{
    const std::string json = JsonObject()
                                 .text("t", "a\"b\\c\nd\x01駅")
                                 .number("rounded", -0.004, 2)
                                 .number("n", 12.345, 1)
                                 .number("nan", std::nan(""), 1)
                                 .integer("i", -7)
                                 .boolean("b", true)
                                 .null("z")
                                 .texts("l", {"x", "y"})
                                 .objects("o", {JsonObject().integer("k", 1), JsonObject()})
                                 .json();
    EXPECT_EQ(json, R"({"t":"a\"b\\c\nd\u0001駅","rounded":0.00,"n":12.3,"nan":null,"i":-7,"b":true,"z":null,)"
                    R"("l":["x","y"],"o":[{"k":1},{}]})");
}

}  // namespace
