#include "picture/raster_ops.h"

#include <stdexcept>

namespace pelmora::raster {

void Convert(const Image&, Image&) {}
void Stretch(const Image&, const TRect&, Image&, const TRect&, StretchMode) {}
std::shared_ptr<Image> DecodeToDisplay(const InfoHeader&, std::span<const Rgb>, const Masks&,
                                       std::span<const std::uint8_t>) {
  throw std::logic_error("raster: not yet built");
}

}  // namespace pelmora::raster
