// cabdrive-check DATA_FOLDER [VEHICLE_FILE]
#include <iostream>

int main()
{
    return 1;
}
