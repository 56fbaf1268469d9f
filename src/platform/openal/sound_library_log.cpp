// The sound libraries' own messages on standard error.
#include "platform/openal/sound_library_log.h"

#include <alsa/asoundlib.h>

#include <cstdlib>

namespace cabdrive {
namespace {

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

// Both libraries have a switch for it, so nothing else the program prints
// is touched: OpenAL Soft reads ALSOFT_LOGLEVEL when it is first used, and
// ALSA, which OpenAL Soft loads at run time, takes an error handler for the
// whole process (the program links the same libasound.so.2).
void quietSoundLibraries()
{
    if (std::getenv("ALSOFT_LOGLEVEL") != nullptr)
        return;
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    snd_lib_error_set_handler(ignoreAlsaError);
}

}  // namespace cabdrive
