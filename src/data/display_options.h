// The display options kept in the per-user store between runs.
#pragma once

#include <cstdint>

#include "ports/key_value_store.h"

namespace cabdrive {

struct DisplayOptions {
    std::int32_t Kanko = 0;        // 1: the driver's call-outs are not played
    std::int32_t Information = 1;  // 1: no explanations are shown
    std::int32_t ATS = 0;          // 1: train protection is off when a run starts
    std::int32_t Tunnel = 0;       // 1: visual effects are off
    std::int32_t Moji = 0;         // 1: text display mode (the text labels are shown)
};

// Reads Kanko, Information, ATS, Tunnel and Moji in this order. All or
// nothing: when any of them cannot be read (first start), all five take their
// defaults.
DisplayOptions readDisplayOptions(KeyValueStore& store);

// Writes the five options back; write failures are ignored, as the options
// are only a convenience.
void writeDisplayOptions(KeyValueStore& store, const DisplayOptions& options);

}  // namespace cabdrive
