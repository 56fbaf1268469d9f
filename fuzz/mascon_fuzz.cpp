// Fuzz target: the controller map mascon.dat.
#include "common/load_error.h"
#include "data/mascon_map.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        cabdrive::loadMasconMap(cabdrive::fuzz::writeInput("mascon.dat", data, size));
    } catch (const cabdrive::LoadError&) {
    }
    return 0;
}
