// The text displays of the cab view: which texts the render loop writes over
// the video, where and how large.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/fixed_table.h"

namespace cabdrive {

struct Run;

// Positions are px on the video surface (viewWidth x viewHeight), the top
// left of the text; every text is drawn white over a black shadow.
struct TextDisplay {
    std::string text;
    int fontSize = 0;  // pt, as the layout was made for a 96-dpi screen
    int x = 0;         // px
    int y = 0;         // px

    bool operator==(const TextDisplay&) const = default;
};

struct TextDisplays {
    // The event message; the renderer measures its width for the next pass.
    std::optional<TextDisplay> message;
    FixedTable<TextDisplay, 13> readouts;
};

// A fraction of the view's width or height, rounded with ties to even.
int viewFraction(std::int32_t extent, long double part);

// px the black shadow lies right of and below each text.
int textShadowOffset(std::int32_t viewWidth);

// The texts of this pass. The message is centred by the width it had in the
// previous pass (`previousMessageWidth`, px), so its first appearance is
// off centre by half its width.
TextDisplays layoutTextDisplays(const Run& run, int previousMessageWidth);

}  // namespace cabdrive
