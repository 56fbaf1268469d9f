// The codes of the USB controller's positions, read from the per-user store.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "ports/key_value_store.h"

namespace cabdrive {

// Sixteen values named after their stored names P0..P5, B0..B8, EB; 0 when
// absent.
struct ControllerCodes {
    static constexpr std::array<std::string_view, 16> names = {
        "P0", "P1", "P2", "P3", "P4", "P5", "B0", "B1", "B2", "B3", "B4", "B5", "B6", "B7", "B8", "EB"};
    std::array<std::int32_t, 16> values{};

    std::int32_t power(int k) const { return values[static_cast<std::size_t>(k)]; }       // P0..P5
    std::int32_t brake(int k) const { return values[6 + static_cast<std::size_t>(k)]; }   // B0..B8
    std::int32_t emergency() const { return values[15]; }                                 // EB
};

// Reads P0..P5, B0..B8, EB in this order; the first value that cannot be read
// ends the reading quietly: the values before it are kept, the rest stay 0.
ControllerCodes readControllerCodes(KeyValueStore& store);

}  // namespace cabdrive
