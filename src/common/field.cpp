// The comma-field extractor.
#include "common/field.h"

namespace cabdrive {

std::string_view field(std::string_view line, int n)
{
    if (n < 1)
        return missingFieldText;
    std::size_t start = 0;
    for (int k = 1; k < n; ++k) {
        const std::size_t comma = line.find(',', start);
        if (comma == std::string_view::npos)
            return missingFieldText;
        start = comma + 1;
    }
    const std::size_t end = line.find(',', start);
    return line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

}  // namespace cabdrive
