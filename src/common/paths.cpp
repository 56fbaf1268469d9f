// Data paths: concatenation, separators and the case-insensitive fallback.
#include "common/paths.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

namespace cabdrive {

namespace fs = std::filesystem;

namespace {

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

bool pathExists(const fs::path& p)
{
    std::error_code ec;
    return fs::exists(p, ec);
}

// The entry of `folder` whose name equals `name` without regard to case.
std::optional<fs::path> findIgnoringCase(const fs::path& folder, const std::string& name)
{
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
    if (ec)
        return std::nullopt;
    for (const auto& entry : it) {
        const std::string candidate = entry.path().filename().string();
        if (equalsIgnoringAsciiCase(candidate, name))
            return folder / candidate;
    }
    return std::nullopt;
}

}  // namespace

std::string joinPath(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    path += name;
    return path;
}

fs::path resolveDataPath(std::string_view dataPath)
{
    std::string slashed(dataPath);
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    const fs::path exact(slashed);
    if (slashed.empty() || pathExists(exact))
        return exact;

    fs::path resolved;
    for (const fs::path& part : exact) {
        const std::string name = part.string();
        if (name.empty() || name == "/" || name == "." || name == "..") {
            resolved /= part;
            continue;
        }
        const fs::path direct = resolved / part;
        if (pathExists(direct)) {
            resolved = direct;
        } else if (auto found = findIgnoringCase(resolved, name)) {
            resolved = *found;
        } else {
            return exact;
        }
    }
    return resolved;
}

std::string triedPath(std::string_view dataPath)
{
    std::error_code ec;
    const fs::path whole = fs::absolute(resolveDataPath(dataPath), ec);
    return (ec ? resolveDataPath(dataPath) : whole.lexically_normal()).string();
}

std::string withFileNotOpened(std::string_view message, std::string_view dataPath)
{
    std::string text(message);
    text += "\nファイル ";
    text += triedPath(dataPath);
    text += " を開けません。";
    return text;
}

std::optional<std::string> readDataFileBytes(std::string_view dataPath)
{
    const fs::path path = resolveDataPath(dataPath);
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return std::nullopt;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec || size > maxDataFileBytes)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    // What the file held when it was measured: one that grows meanwhile is read no further.
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    if (in.bad())
        return std::nullopt;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

}  // namespace cabdrive
