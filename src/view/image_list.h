// The route's window image lists (animations, road lights, crossings) laid
// out as one picture of equal cells, left to right, for their sprites.
#pragma once

#include <vector>

#include "ports/picture.h"

namespace cabdrive {

// Each picture is cut into cells of cellWidth x cellHeight, left to right,
// as many as its width holds (a narrower picture gives one cell); cells are
// padded with the transparent colour, and a picture that could not be read
// keeps its place as a blank cell. Every picture's own transparent colour
// (its bottom-left pixel) becomes the first picture's, so that the strip is
// keyed by its bottom-left pixel like any other picture. Empty when there
// are no pictures.
Picture imageListStrip(const std::vector<Picture>& pictures, int cellWidth, int cellHeight);

// The same with one cell per picture, as large as the largest picture.
Picture imageListStripOfOwnSizes(const std::vector<Picture>& pictures);

}  // namespace cabdrive
