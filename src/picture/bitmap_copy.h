#pragma once
// The one way in which an image is made from another: behind a bitmap's section twin, its
// pixel-format, size and palette changes, and both clipboard directions.
#include <memory>

#include "raster/image.h"
#include "raster/palette.h"

namespace pelmora {

struct CopiedImage {
  // The new image; none when the target has a zero width or height.
  std::shared_ptr<raster::Image> image;
  // The target description, read back from the new image when there is one.
  raster::Description description;
};

// Makes an image for the target description from a source image (or none):
// - no info header: a display bitmap of the bitmap facts' size (monochrome when planes and
//   bits per pixel are both 1);
// - an info header: a section of it (bit count 0 means the screen's), its colour table
//   from the new palette, else the source's, else black and white for 1 bit.
// The image is filled white and the source copied onto it unscaled at (0, 0); a source of
// the same size going into more than 8 bits is converted straight. Without a source and
// with fill_white false the pixels stay as made (zero), for a caller that writes every row.
// Fails with EInvalidGraphic for a description that cannot be made, with EOutOfResources
// for one too large for memory.
CopiedImage CopyImage(const raster::Image* source, const raster::Palette* new_palette,
                      raster::Description target, bool fill_white = true);

}  // namespace pelmora
