// The title screen's media: pictures, the two title sounds and the opening movie.
#pragma once

#include <string>

namespace cabdrive::demo {

// Writes under dataFolder (creating folders): image/title/title01.jpg,
// title02.jpg, title2.jpg, line01.bmp, line02.bmp, train1.bmp, the cursor
// picture, sound/34109.wav, sound/start.wav and move/opening.avi.
void writeTitleMedia(const std::string& dataFolder, const std::string& lineName,
                     const std::string& downName, const std::string& upName);

}  // namespace cabdrive::demo
