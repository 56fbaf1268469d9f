// What decides the picture of the cab view in a pass: the video frame, the
// text displays, the look of every sprite and the clock's face. Two passes
// with equal snapshots compose the same picture, so the second one need not
// be composed or shown again.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "view/text_displays.h"

namespace cabdrive {

struct Run;

struct SpriteLook {
    bool visible = false;
    int pattern = 0, angle = 0, alpha = 0;
    double x = 0, y = 0;  // px
    int width = 0, height = 0;  // px

    bool operator==(const SpriteLook&) const = default;
};

struct ViewSnapshot {
    std::uint64_t frameRevision = 0;  // of the frame bitmap drawn
    std::optional<TextDisplay> message;
    std::vector<TextDisplay> readouts;
    std::vector<SpriteLook> sprites;  // in order of creation
    bool clockShown = false;
    std::uint32_t clockRevision = 0;

    bool operator==(const ViewSnapshot&) const = default;
};

// The snapshot of this pass: the frame bitmap's revision, and the texts laid
// out with the message width measured in the pass before (px).
ViewSnapshot snapshotView(const Run& run, std::uint64_t frameRevision, int previousMessageWidth);

}  // namespace cabdrive
