#pragma once
// What image lists do to pictures: scale, cut, mask by a colour, draw into a cell.
#include <cstdint>

#include "images/Picture.h"

namespace ramvel {

// Shrinks (or copies) `source` to w by h: each pixel covers its share of the source; it is
// opaque when at least half of that share is, in the mean colour of the opaque part.
Picture ScaleDown(const Picture& source, std::int32_t w, std::int32_t h);

// The w by h part of `source` whose top-left corner is (x, y), masked where its colour is
// `transparent`. The part must lie inside the source.
Picture CutMasked(const Picture& source, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                  Rgb transparent);

// A transparent w by h cell with `source` drawn unscaled into its top-left corner (clipped).
Picture DrawIntoCell(const Picture& source, std::int32_t w, std::int32_t h);

}  // namespace ramvel
