// The one error type of loading: it carries the exact text the user must see.
#pragma once

#include <stdexcept>
#include <string>

namespace cabdrive {

// Thrown by every loader for bad or missing input. what() is the message
// shown in the message box (or printed by the tools), already in UTF-8.
class LoadError : public std::runtime_error {
public:
    explicit LoadError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace cabdrive
