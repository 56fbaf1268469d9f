// Decoding of data-file text to UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace cabdrive {

// Data files are written on Windows in CP932 (Shift-JIS with the Windows
// extensions). Text that is already valid UTF-8 passes unchanged (a leading BOM
// is dropped); anything else is decoded from CP932. A byte sequence that CP932
// does not define becomes U+FFFD, so a stray byte in a comment never stops a load.
std::string decodeDataText(std::string_view bytes);

bool isValidUtf8(std::string_view bytes);

}  // namespace cabdrive
