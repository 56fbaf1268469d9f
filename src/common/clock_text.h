// The timetable clock as text.
#pragma once

#include <cstdint>
#include <string>

namespace cabdrive {

// "hh:mm:ss" of a clock in 1/30 s since midnight ("-" before a negative one).
std::string clockText(std::int64_t ticks);

}  // namespace cabdrive
