// Fuzz target: the length of an environment sound, read from its WAV header.
#include "fuzz_input.h"
#include "sound/environment_sound_lengths.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& folder = cabdrive::fuzz::writeInput("sound.wav", data, size);
    const std::int32_t seconds = cabdrive::waveFileSeconds(folder + "sound.wav");
    if (seconds < 0)
        __builtin_trap();  // a length is never negative
    return 0;
}
