#include "picture/raster_image.h"

#include <cstdlib>
#include <stdexcept>

namespace pelmora::raster {

Masks DefaultBitfieldMasks(int) { return {}; }
std::shared_ptr<Image> Image::MakeSection(const InfoHeader&, std::span<const Rgb>, const Masks&) {
  throw std::logic_error("raster: not yet built");
}
std::shared_ptr<Image> Image::MakeDisplay(int, int, bool) {
  throw std::logic_error("raster: not yet built");
}
Image::~Image() = default;
void Image::FreeDeleter::operator()(std::uint8_t* p) const { std::free(p); }
Description Image::Describe() const { return {}; }
int Image::SetColourTable(int, std::span<const Rgb>) { return 0; }
Rgb Image::Pixel(int, int) const { return {}; }
void Image::SetPixel(int, int, Rgb) {}
void Image::Fill(Rgb) {}

}  // namespace pelmora::raster
