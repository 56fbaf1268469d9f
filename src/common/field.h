// The comma-field extractor every data file uses.
#pragma once

#include <string_view>

namespace cabdrive {

// The text every missing field reads as; it fails any number conversion.
inline constexpr std::string_view missingFieldText = "Error";

// The n-th comma-separated field of a line, counted from 1, untrimmed.
// A line with fewer than n fields yields "Error" (field 1 of a line without a
// comma is the whole line). The result views into `line`.
std::string_view field(std::string_view line, int n);

}  // namespace cabdrive
