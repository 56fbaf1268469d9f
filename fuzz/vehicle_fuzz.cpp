// Fuzz target: a vehicle file, every picture it names loading, and the
// checks made once all files are loaded.
#include "common/load_error.h"
#include "data/vehicle_file.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    cabdrive::fuzz::AnyPictureLoader pictures;
    try {
        cabdrive::VehicleSpec vehicle =
            cabdrive::loadVehicle(cabdrive::fuzz::writeInput("train.dat", data, size), "train.dat", pictures);
        cabdrive::checkVehicleAfterLoading(vehicle);
    } catch (const cabdrive::LoadError&) {
    }
    return 0;
}
