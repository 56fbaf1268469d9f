// Fuzz target: a route file, every picture it names loading, and the
// distances derived from its filming speeds.
#include "common/load_error.h"
#include "data/route_distances.h"
#include "data/route_file.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    cabdrive::fuzz::AnyPictureLoader pictures;
    try {
        const std::string& folder = cabdrive::fuzz::writeInput("line_down.dat", data, size);
        auto route = cabdrive::loadRoute({folder, "line_down.dat", "train.dat", 0}, pictures);
        cabdrive::deriveDistances(*route);
    } catch (const cabdrive::LoadError&) {
    }
    return 0;
}
