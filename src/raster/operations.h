#pragma once
// Operations between images: pixel conversion and stretching.
#include <cstdint>

#include "base/rect.h"
#include "raster/image.h"

namespace pelmora::raster {

// Converts the pixels of `source` into `target` unscaled at (0, 0), over the area both
// cover: colours are read through the source's form and written in the target's (nearest
// colour-table entry for indexed targets).
void Convert(const Image& source, Image& target);

// The source position a nearest-pixel stretch takes for target position t (counted from the
// target rectangle's start), when source_len positions from source_start are stretched
// over target_len.
int NearestSource(std::int64_t t, int source_start, int source_len, int target_len);

enum class StretchMode {
  Unchanged = 0,     // the surface keeps its mode (nearest, as COLORONCOLOR)
  ColorOnColor = 3,  // nearest pixel
  Halftone = 4,      // area averaging
};

// Stretches `source_rect` of the source onto `target_rect` of the target; the target
// rectangle is clipped to the target. Empty or inverted rectangles draw nothing.
void Stretch(const Image& source, const TRect& source_rect, Image& target,
             const TRect& target_rect, StretchMode mode);

}  // namespace pelmora::raster
