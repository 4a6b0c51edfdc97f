#pragma once
// BMP pixel data decoded into display bitmaps.
#include <cstdint>
#include <memory>
#include <span>

#include "raster/image.h"

namespace pelmora::raster {

// Decodes BMP pixel data (BI_RGB, BI_BITFIELDS, RLE8, RLE4) described by an info header,
// with its colour table and masks, into a new display bitmap. RLE runs and deltas that
// reach past a row or the image are clipped; data that ends early leaves the rest as made (black).
// Fails with EInvalidGraphic for a header it cannot decode, with EOutOfResources for a size
// over the ceiling.
std::shared_ptr<Image> DecodeToDisplay(const InfoHeader& header, std::span<const Rgb> colours,
                                       const Masks& masks, std::span<const std::uint8_t> data);

}  // namespace pelmora::raster
