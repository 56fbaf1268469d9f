// Slope posts: the gradient at the train's front, as the route's [Slope]
// rows give it, with the slope sign and the two gradient texts.
#pragma once

#include <string>

#include "common/fixed4.h"

namespace cabdrive {

struct Run;

// 100 ms tick, step 13. Inside a row (start < frame < end) whose gradient
// differs from the front gradient, the row's gradient is taken and the slope
// sign shows pattern row + 1; between a row's end and the next row's start,
// or beyond the last row's end, the line is level: gradient 0, pattern 0 and
// both texts "L". Before the first row nothing changes.
void slopePosts(Run& run);

// The gradient texts for a gradient (per mille): signed and unsigned with
// one decimal, "+25.0" and "25.0"; "L" and "L" on level track.
std::string signedGradientText(fixed4 gradient);
std::string unsignedGradientText(fixed4 gradient);

// A station jump puts the train on the level until the next slope post.
void levelSlopePosts(Run& run);

}  // namespace cabdrive
