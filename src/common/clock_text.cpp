// The timetable clock as text.
#include "common/clock_text.h"

#include <cstdio>

namespace cabdrive {

std::string clockText(std::int64_t ticks)
{
    const bool negative = ticks < 0;
    const std::int64_t seconds = (negative ? -ticks : ticks) / 30;
    char text[32];
    std::snprintf(text, sizeof text, "%s%02lld:%02lld:%02lld", negative ? "-" : "", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}

}  // namespace cabdrive
