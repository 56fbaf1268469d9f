// Fuzz target: the settings file cabdrive.dat.
#include "common/load_error.h"
#include "data/settings.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        cabdrive::loadSettings(cabdrive::fuzz::writeInput("cabdrive.dat", data, size));
    } catch (const cabdrive::LoadError&) {
    }
    return 0;
}
