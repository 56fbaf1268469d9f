// Loading the controller map mascon.dat.
#include "data/mascon_map.h"

#include <cerrno>
#include <cstring>

#include "common/line_reader.h"
#include "common/load_error.h"
#include "common/paths.h"
#include "data/reader_loop.h"

namespace cabdrive {

MasconMap loadMasconMap(std::string_view programFolder)
{
    const std::string path = joinPath(programFolder, "mascon.dat");
    errno = 0;
    auto in = openDataFile(path);
    if (!in) {
        const int error = errno != 0 ? errno : ENOENT;
        throw LoadError(path + ": " + std::strerror(error));
    }
    MasconMap map;
    for (std::size_t slot = 1; !in->atEnd(); ++slot) {
        const std::string_view line = in->readLine();
        if (isListEnd(line))
            break;
        if (slot <= MasconMap::slotCount)
            map.masconCodes[slot] = line;
    }
    return map;
}

}  // namespace cabdrive
