// cabdrive-check DATA_FOLDER [VEHICLE_FILE]: loads a data folder the way the
// program does and prints a summary, or the exact loading error (status 1).
#include <iostream>

#include "data_folder_check.h"
#include "platform/qt/qimage_picture_loader.h"

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: cabdrive-check DATA_FOLDER [VEHICLE_FILE]\n";
        return 2;
    }
    cabdrive::QImagePictureLoader pictures;
    return cabdrive::checkDataFolder(argv[1], argc == 3 ? argv[2] : "", pictures, std::cout, std::cerr);
}
