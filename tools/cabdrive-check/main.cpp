// cabdrive-check DATA_FOLDER [VEHICLE_FILE] [--strict]: loads a data folder the
// way the program does and prints a summary and its warnings, or the exact
// loading error (status 1).
#include <algorithm>
#include <iostream>
#include <string_view>
#include <vector>

#include "common/command_line.h"
#include "data_folder_check.h"
#include "platform/ffmpeg/ffmpeg_video_reader.h"
#include "platform/qt/qimage_picture_loader.h"

namespace {

constexpr std::string_view program = "cabdrive-check";
constexpr std::string_view usage =
    "usage: cabdrive-check DATA_FOLDER [VEHICLE_FILE] [--strict]\n"
    "  Loads the data folder the way cabdrive does: the title screen's pictures and sounds, operation.dat,\n"
    "  cabdrive.dat, mascon.dat, the vehicle file and both route files (line_down.dat, line_up.dat) with\n"
    "  their pictures, sounds and videos, then prints a summary of each and a \"warning:\" line for each\n"
    "  thing that loads but cannot work as meant.\n"
    "  On the first error it prints the exact message cabdrive would show and exits with status 1.\n"
    "  VEHICLE_FILE   relative to DATA_FOLDER unless absolute (default train_E231_5B.dat)\n"
    "  --strict       any warning fails the check (status 1)\n"
    "  --help         this text\n"
    "  --version      the version\n";

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string_view> arguments(argv + 1, argv + argc);
    if (const auto answered = cabdrive::answerHelpOrVersion(arguments, program, usage, std::cout))
        return *answered;
    const bool strict = std::erase(arguments, "--strict") > 0;
    for (const std::string_view argument : arguments)
        if (argument.starts_with('-'))
            return cabdrive::refuseCommandLine(program, "unknown option " + std::string(argument), usage, std::cerr);
    if (arguments.empty())
        return cabdrive::refuseCommandLine(program, "which data folder?", usage, std::cerr);
    if (arguments.size() > 2)
        return cabdrive::refuseCommandLine(program, "a data folder and at most one vehicle file", usage, std::cerr);
    cabdrive::QImagePictureLoader pictures;
    cabdrive::FfmpegVideoReader video;
    const cabdrive::CheckRequest request{std::string(arguments[0]), arguments.size() == 2 ? std::string(arguments[1]) : "", strict};
    return cabdrive::checkDataFolder(request, pictures, video, std::cout, std::cerr);
}
