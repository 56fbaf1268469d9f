// cabdrive-check DATA_FOLDER [VEHICLE_FILE]: loads a data folder the way the
// program does and prints a summary, or the exact loading error (status 1).
#include <iostream>
#include <string_view>
#include <vector>

#include "common/command_line.h"
#include "data_folder_check.h"
#include "platform/qt/qimage_picture_loader.h"

namespace {

constexpr std::string_view program = "cabdrive-check";
constexpr std::string_view usage =
    "usage: cabdrive-check DATA_FOLDER [VEHICLE_FILE]\n"
    "  Loads the data folder the way cabdrive does: cabdrive.dat, mascon.dat, the vehicle file and both\n"
    "  route files (line_down.dat, line_up.dat) with their pictures, then prints a summary of each.\n"
    "  On the first error it prints the exact message cabdrive would show and exits with status 1.\n"
    "  VEHICLE_FILE   relative to DATA_FOLDER unless absolute (default train_E231_5B.dat)\n"
    "  --help         this text\n"
    "  --version      the version\n";

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    if (const auto answered = cabdrive::answerHelpOrVersion(arguments, program, usage, std::cout))
        return *answered;
    for (const std::string_view argument : arguments)
        if (argument.starts_with('-'))
            return cabdrive::refuseCommandLine(program, "unknown option " + std::string(argument), usage, std::cerr);
    if (arguments.empty())
        return cabdrive::refuseCommandLine(program, "which data folder?", usage, std::cerr);
    if (arguments.size() > 2)
        return cabdrive::refuseCommandLine(program, "a data folder and at most one vehicle file", usage, std::cerr);
    cabdrive::QImagePictureLoader pictures;
    return cabdrive::checkDataFolder(argv[1], argc == 3 ? argv[2] : "", pictures, std::cout, std::cerr);
}
