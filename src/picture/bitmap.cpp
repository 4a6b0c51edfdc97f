#include "picture/bitmap.h"

#include <stdexcept>

namespace pelmora {

namespace {
[[noreturn]] void NotYet() { throw std::logic_error("bitmap: not yet built"); }
std::unique_ptr<TGraphic> CreateBitmap() { return std::make_unique<TBitmap>(); }
}  // namespace

const GraphicClass& TBitmap::StaticClass() {
  static const GraphicClass kClass{"TBitmap", nullptr, &CreateBitmap};
  return kClass;
}

TBitmap::TBitmap() : image_(std::make_shared<TBitmapImage>()) {}
TBitmap::~TBitmap() = default;
void TBitmap::Assign(const TPersistent*) { NotYet(); }
void TBitmap::Draw(TCanvas&, const TRect&) { NotYet(); }
bool TBitmap::Empty() const { return true; }
int TBitmap::Height() const { return 0; }
std::shared_ptr<raster::Palette> TBitmap::Palette() { return nullptr; }
int TBitmap::Width() const { return 0; }
void TBitmap::SetHeight(int) { NotYet(); }
void TBitmap::SetPalette(std::shared_ptr<raster::Palette>) { NotYet(); }
void TBitmap::SetWidth(int) { NotYet(); }
void TBitmap::LoadFromStream(TStream&) { NotYet(); }
void TBitmap::SaveToStream(TStream&) { NotYet(); }
void TBitmap::LoadFromClipboardFormat(std::uint16_t, const ClipboardData&) { NotYet(); }
void TBitmap::SaveToClipboardFormat(std::uint16_t&, ClipboardData&) { NotYet(); }
TPixelFormat TBitmap::PixelFormat() const { return TPixelFormat::Device; }
void TBitmap::SetPixelFormat(TPixelFormat) { NotYet(); }
std::uint8_t* TBitmap::ScanLine(int) { NotYet(); }
int TBitmap::RowBytes() const { return 0; }
void TBitmap::SetHandleToNone() { NotYet(); }
const raster::Description& TBitmap::Description() const { return image_->description; }
std::shared_ptr<const raster::Image> TBitmap::Image() const { return nullptr; }
bool TBitmap::IsSection() const { return false; }
bool TBitmap::Os2Format() const { return false; }
bool TBitmap::HasFileCopy() const { return false; }
bool TBitmap::SharesImageWith(const TBitmap& other) const { return image_ == other.image_; }

}  // namespace pelmora
