#include <gtest/gtest.h>

#include "picture/bitmap.h"
#include "raster/image.h"

namespace pelmora {
namespace {

std::shared_ptr<raster::Image> SmallPicture() {
  raster::InfoHeader header;
  header.size = raster::kInfoHeaderSize;
  header.width = 4;
  header.height = 2;
  header.planes = 1;
  header.bit_count = 24;
  auto image = raster::Image::MakeSection(header);
  image->SetPixel(1, 1, raster::MakeRgb(10, 20, 30));
  return image;
}

TEST(BitmapClipboardForm, TakesAnImageNothingElseHoldsAndCopiesAnyOther) {
  // Held elsewhere too: the bitmap makes its own copy, and changing it leaves the source.
  std::shared_ptr<raster::Image> kept = SmallPicture();
  TBitmap copied;
  copied.LoadFromClipboardFormat(kCfBitmap, ClipboardData{kept, nullptr});
  EXPECT_NE(copied.Image().get(), kept.get());
  copied.ScanLine(1)[3] = 0xFF;
  EXPECT_EQ(kept->Pixel(1, 1), raster::MakeRgb(10, 20, 30));

  // Handed over (a fresh conversion of a clipboard handle): taken as it is.
  std::shared_ptr<raster::Image> fresh = SmallPicture();
  const raster::Image* raw = fresh.get();
  TBitmap taken;
  taken.LoadFromClipboardFormat(kCfBitmap, ClipboardData{std::move(fresh), nullptr});
  EXPECT_EQ(taken.Image().get(), raw);
  EXPECT_EQ(taken.Width(), 4);
  EXPECT_EQ(taken.PixelFormat(), TPixelFormat::Bit24);
  EXPECT_EQ(taken.Image()->Pixel(1, 1), raster::MakeRgb(10, 20, 30));
}

}  // namespace
}  // namespace pelmora
