#pragma once
// Operations between images: pixel conversion, stretching and BMP pixel decoding.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "picture/graphic.h"
#include "picture/raster_image.h"

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

// Decodes BMP pixel data (BI_RGB, BI_BITFIELDS, RLE8, RLE4) described by an info header,
// with its colour table and masks, into a new display bitmap. RLE runs and deltas that
// reach past a row or the image are clipped; data that ends early leaves the rest as made (black).
// Fails with EInvalidGraphic for a header it cannot decode, with EOutOfResources for a size
// over the ceiling.
std::shared_ptr<Image> DecodeToDisplay(const InfoHeader& header, std::span<const Rgb> colours,
                                       const Masks& masks, std::span<const std::uint8_t> data);

}  // namespace pelmora::raster
