#pragma once
// Transparency: 32-bit sections whose fourth byte is straight alpha (Image::HasAlpha), how
// the alpha of a 32-bit bitmap from another program is read, and how such a picture is
// shown and put on an opaque ground.
#include <cstdint>
#include <memory>

#include "raster/image.h"

namespace pelmora::raster {

// What the fourth bytes of a 32-bit image with byte masks hold.
enum class AlphaContent {
  None,           // all 0 (many programs leave them so) or all 255: the picture is opaque
  Straight,       // colours independent of alpha: some colour is above its pixel's alpha
  Premultiplied,  // colours already multiplied by alpha: no colour is above its alpha
};
AlphaContent ExamineAlpha(const Image& image);

// Turns premultiplied colours into straight ones, in place (a colour over a zero alpha
// stays as it is).
void Unpremultiply(Image& image);

// Reads the fourth bytes of a 32-bit image with byte masks as it was given: marks it as
// having alpha when they hold any, after making premultiplied colours straight.
void AdoptAlpha(Image& image);

// A 24-bit copy (rows bottom-up) of an image with alpha, put on an opaque colour.
std::shared_ptr<Image> FlattenOnto(const Image& image, Rgb background);

// The light checkerboard that shows through transparent parts: squares of this many pixels
// in these two colours, the first at the picture's top-left corner.
inline constexpr int kCheckerSquare = 8;
inline constexpr Rgb kCheckerLight = MakeRgb(255, 255, 255);
inline constexpr Rgb kCheckerDark = MakeRgb(204, 204, 204);
// The checkerboard colour at (x, y) from the picture's top-left corner.
inline Rgb CheckerAt(int x, int y, int square) {
  return ((x / square + y / square) & 1) != 0 ? kCheckerDark : kCheckerLight;
}

// The image with alpha stretched to width x height (nearest pixel, as a COLORONCOLOR
// stretch picks them) over the checkerboard with squares of `square` pixels: a new opaque
// 32-bit section, rows top-down, ready to be drawn unscaled.
std::shared_ptr<Image> CompositeOnCheckerboard(const Image& image, int width, int height,
                                               int square = kCheckerSquare);

}  // namespace pelmora::raster
