// Random: the run's seeded generator, so that the same data, inputs and seed
// give the same run.
#pragma once

#include <cstdint>

namespace cabdrive {

// splitmix64: small, fast and the same on every platform and compiler, which
// the standard library's distributions are not.
class Random {
public:
    Random() = default;
    explicit Random(std::uint64_t seed) : m_state(seed) {}

    // A whole number 0 .. n - 1; 0 when n is 0 or less.
    std::int32_t below(std::int32_t n)
    {
        if (n <= 0)
            return 0;
        return static_cast<std::int32_t>(next() % static_cast<std::uint64_t>(n));
    }

private:
    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    std::uint64_t m_state = 1;
};

}  // namespace cabdrive
