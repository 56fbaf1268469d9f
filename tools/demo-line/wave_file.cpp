// Writes mono 16-bit PCM WAV files.
#include "wave_file.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace cabdrive::demo {
namespace {

void putLittleEndian(std::ofstream& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

void writeWave(const std::string& path, const Wave& wave)
{
    const std::filesystem::path file(path);
    if (file.has_parent_path())
        std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error("cannot write " + path);
    const auto dataBytes = static_cast<std::uint32_t>(wave.samples.size() * 2);
    const auto rate = static_cast<std::uint32_t>(wave.sampleRate);
    out.write("RIFF", 4);
    putLittleEndian(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    putLittleEndian(out, 16, 4);        // format chunk size
    putLittleEndian(out, 1, 2);         // PCM
    putLittleEndian(out, 1, 2);         // mono
    putLittleEndian(out, rate, 4);
    putLittleEndian(out, rate * 2, 4);  // bytes per second
    putLittleEndian(out, 2, 2);         // block align
    putLittleEndian(out, 16, 2);        // bits per sample
    out.write("data", 4);
    putLittleEndian(out, dataBytes, 4);
    for (const std::int16_t sample : wave.samples)
        putLittleEndian(out, static_cast<std::uint16_t>(sample), 2);
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

}  // namespace cabdrive::demo
