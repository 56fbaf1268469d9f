// The serial master controller: text lines matched against the controller
// map mascon.dat.
#pragma once

#include <cstddef>
#include <string_view>

namespace cabdrive {

struct Run;

// The longest received text kept, in bytes. Only a message's first five
// characters are matched, so a line without a carriage return (a stuck or
// wrongly set up device) keeps its beginning and the rest is dropped instead
// of growing the buffer without end.
inline constexpr std::size_t serialBufferLimit = 256;

// RxChar: one chunk as the port delivered it. A chunk holding a carriage
// return ends the message: the characters kept so far and the whole chunk
// (even past the carriage return) go to serialMessage as one message, and
// the buffer starts empty again. Any other chunk is kept for the next.
void RxChar(Run& run, std::string_view chunk);

// One message: the vigilance device is answered, then every slot of the
// controller map whose text equals the message's first five characters acts,
// in slot order: power positions, neutral, brake positions, the reverser,
// and the four buttons that type a character.
void serialMessage(Run& run, std::string_view message);

}  // namespace cabdrive
