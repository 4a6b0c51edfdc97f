#include "picture/canvas.h"

namespace pelmora {

void TImageCanvas::StretchDraw(const raster::Image& image, const TRect& dest, StretchMode mode,
                               const raster::Palette*) {
  if (mode != StretchMode::Unchanged) mode_ = mode;
  raster::Stretch(image, TRect{0, 0, image.Width(), image.Height()}, *target_, dest, mode_);
}

}  // namespace pelmora
