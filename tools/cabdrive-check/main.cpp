// cabdrive-check DATA_FOLDER [VEHICLE_FILE] [--strict]: loads a data folder the
// way the program does and prints a summary and its warnings, or the exact
// loading error (status 1).
#include <iostream>
#include <string_view>

#include "data_folder_check.h"
#include "platform/ffmpeg/ffmpeg_video_reader.h"
#include "platform/qt/qimage_picture_loader.h"

int main(int argc, char** argv)
{
    const bool strict = argc > 1 && std::string_view(argv[argc - 1]) == "--strict";
    if (strict)
        --argc;
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: cabdrive-check DATA_FOLDER [VEHICLE_FILE] [--strict]\n";
        return 2;
    }
    cabdrive::QImagePictureLoader pictures;
    cabdrive::FfmpegVideoReader video;
    return cabdrive::checkDataFolder({argv[1], argc == 3 ? argv[2] : "", strict}, pictures, video, std::cout, std::cerr);
}
