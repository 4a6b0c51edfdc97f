// Transparency: how a 32-bit bitmap from another program is read, and how a picture with
// alpha is shown, saved as BMP and JPEG, and copied.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/strings.h"
#include "picture/bitmap.h"
#include "picture/bitmap_test_support.h"
#include "picture/bmp_builder.h"
#include "picture/canvas.h"
#include "raster/alpha.h"

namespace pelmora {
namespace {

using raster::MakeRgb;

// A 2 x 1 32-bit packed bitmap with these two pixels (blue, green, red, fourth byte).
std::vector<std::uint8_t> Dib32(std::vector<std::uint8_t> pixels, std::uint32_t header_size = 40,
                                std::vector<std::uint32_t> masks = {},
                                std::uint32_t compression = raster::kBiRgb) {
  test::BmpSpec spec;
  spec.header_size = header_size;
  spec.width = 2;
  spec.bit_count = 32;
  spec.compression = compression;
  spec.masks = std::move(masks);
  spec.pixels = std::move(pixels);
  return test::BuildDib(spec);
}

// The fourth bytes of the loaded bitmap's two pixels, and whether they count as alpha.
struct Loaded {
  bool alpha;
  std::vector<std::uint8_t> pixels;
};
Loaded LoadDib(const std::vector<std::uint8_t>& dib) {
  TBitmap bitmap;
  bitmap.LoadFromDib(dib.data(), dib.size());
  const std::uint8_t* row = bitmap.Image()->Row(0);
  return {bitmap.HasAlpha(), std::vector<std::uint8_t>(row, row + 8)};
}

TEST(BitmapAlpha, PackedBitmapsKeepAlphaWhereTheirDataAndHeaderSayIt) {
  const std::vector<std::uint32_t> v5_masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
  const struct {
    const char* what;
    std::vector<std::uint8_t> dib;
    Loaded expected;
  } cases[] = {
      {"straight: a colour above its alpha", Dib32({0, 0, 200, 128, 9, 9, 9, 0}),
       {true, {0, 0, 200, 128, 9, 9, 9, 0}}},
      {"premultiplied: made straight", Dib32({0, 0, 64, 128, 0, 0, 0, 0}),
       {true, {0, 0, 128, 128, 0, 0, 0, 0}}},
      {"all fourth bytes 0: opaque", Dib32({1, 2, 3, 0, 4, 5, 6, 0}),
       {false, {1, 2, 3, 0, 4, 5, 6, 0}}},
      {"all fourth bytes 255: opaque", Dib32({1, 2, 3, 255, 4, 5, 6, 255}),
       {false, {1, 2, 3, 255, 4, 5, 6, 255}}},
      {"bit fields with byte masks", Dib32({0, 0, 200, 128, 9, 9, 9, 0}, 40, {0xFF0000, 0xFF00, 0xFF},
                                           raster::kBiBitfields),
       {true, {0, 0, 200, 128, 9, 9, 9, 0}}},
      {"V5 header with an alpha mask", Dib32({0, 0, 200, 128, 9, 9, 9, 0}, 124, v5_masks),
       {true, {0, 0, 200, 128, 9, 9, 9, 0}}},
      {"V5 header without an alpha mask", Dib32({0, 0, 200, 128, 9, 9, 9, 0}, 124,
                                                {0xFF0000, 0xFF00, 0xFF, 0}),
       {false, {0, 0, 200, 128, 9, 9, 9, 0}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Loaded loaded = LoadDib(c.dib);
    EXPECT_EQ(loaded.alpha, c.expected.alpha);
    EXPECT_EQ(loaded.pixels, c.expected.pixels);
  }
}

TEST(BitmapAlpha, BrokenPackedBitmapLeavesTheBitmapAsItWas) {
  TBitmap bitmap;
  const std::vector<std::uint8_t> good = Dib32({0, 0, 200, 128, 9, 9, 9, 0});
  bitmap.LoadFromDib(good.data(), good.size());
  std::vector<std::uint8_t> broken = good;
  broken[12] = 2;  // planes
  EXPECT_EQ(test::FailureOf([&] { bitmap.LoadFromDib(broken.data(), broken.size()); }),
            test::Failure("EInvalidGraphic", strings::kInvalidBitmap));
  EXPECT_EQ(test::FailureOf([&] { bitmap.LoadFromDib(good.data(), 20); }),
            test::Failure("EReadError", strings::kReadError));
  EXPECT_EQ(bitmap.Width(), 2);
  EXPECT_TRUE(bitmap.HasAlpha());
}

using test::RowsOf;

// A 16 x 2 bitmap with alpha: left half opaque red, right half transparent but for one
// half-transparent blue pixel at (12, 0).
std::unique_ptr<TBitmap> HalfTransparent() {
  auto bitmap = std::make_unique<TBitmap>();
  const std::vector<std::uint8_t> dib = [] {
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < 16; ++x) {
        const bool blue = x == 12 && y == 1;  // rows lie bottom-up: y 1 is the top row
        const std::vector<std::uint8_t> p = x < 8 ? std::vector<std::uint8_t>{0, 0, 255, 255}
                                            : blue ? std::vector<std::uint8_t>{255, 0, 0, 128}
                                                   : std::vector<std::uint8_t>{0, 0, 0, 0};
        pixels.insert(pixels.end(), p.begin(), p.end());
      }
    }
    test::BmpSpec spec;
    spec.width = 16;
    spec.height = 2;
    spec.bit_count = 32;
    spec.pixels = pixels;
    return test::BuildDib(spec);
  }();
  bitmap->LoadFromDib(dib.data(), dib.size());
  return bitmap;
}

TEST(BitmapAlpha, DrawsOverALightCheckerboardWithinItsRectangle) {
  auto bitmap = HalfTransparent();
  raster::InfoHeader header{40, 40, 10, 1, 24};
  auto target = raster::Image::MakeSection(header);
  target->Fill(MakeRgb(1, 2, 3));
  TImageCanvas canvas(target);
  // Drawn twice its size from (4, 2): squares of 8 screen pixels from the rectangle's corner.
  bitmap->Draw(canvas, TRect{4, 2, 36, 6});
  EXPECT_EQ(target->Pixel(3, 2), MakeRgb(1, 2, 3));    // outside: untouched
  EXPECT_EQ(target->Pixel(4, 2), MakeRgb(255, 0, 0));  // opaque
  EXPECT_EQ(target->Pixel(20, 2), raster::kCheckerLight);  // transparent, first square
  EXPECT_EQ(target->Pixel(28, 5), raster::kCheckerDark);   // the next square across
  EXPECT_EQ(target->Pixel(36, 2), MakeRgb(1, 2, 3));
  // Half blue over the dark square at (28, 2): 255 * 128 / 255 + 204 * 127 / 255 blue.
  EXPECT_EQ(target->Pixel(28, 2), MakeRgb(102, 102, 230));
  // The same rectangle again draws the view kept from the first time.
  target->Fill(MakeRgb(1, 2, 3));
  bitmap->Draw(canvas, TRect{4, 2, 36, 6});
  EXPECT_EQ(target->Pixel(20, 2), raster::kCheckerLight);
}

TEST(BitmapAlpha, CheckerboardSquaresGrowWithTheSurfacesScale) {
  // A surface over an image drawn at 144 pixels per inch, one and a half times the design.
  class ScaledCanvas final : public TCanvas {
   public:
    explicit ScaledCanvas(std::shared_ptr<raster::Image> target) : surface_(std::move(target)) {}
    void StretchDraw(const raster::Image& image, const TRect& dest, StretchMode mode,
                     const raster::Palette* palette) override {
      surface_.StretchDraw(image, dest, mode, palette);
    }
    int DeviceDepth() const override { return surface_.DeviceDepth(); }
    int PixelsPerInch() const override { return 144; }

   private:
    TImageCanvas surface_;
  };
  auto bitmap = HalfTransparent();
  raster::InfoHeader header{40, 48, 4, 1, 24};
  auto target = raster::Image::MakeSection(header);
  ScaledCanvas canvas(target);
  // Three times its size: transparent from x 24 on, in squares of 12 pixels.
  bitmap->Draw(canvas, TRect{0, 0, 48, 4});
  EXPECT_EQ(target->Pixel(35, 3), raster::kCheckerLight);
  EXPECT_EQ(target->Pixel(36, 3), raster::kCheckerDark);
}

// JPEG does the same through the bitmap's flattening (checked with the save command).
TEST(BitmapAlpha, BmpPutsTransparencyOnWhite) {
  auto bitmap = HalfTransparent();
  auto saved = test::LoadBitmap(test::SaveBitmap(*bitmap));
  EXPECT_EQ(saved->PixelFormat(), TPixelFormat::Bit24);
  EXPECT_FALSE(saved->HasAlpha());
  EXPECT_EQ(test::PixelOf(*saved, 0, 0), MakeRgb(255, 0, 0));
  EXPECT_EQ(test::PixelOf(*saved, 15, 0), raster::kWhite);
  EXPECT_EQ(test::PixelOf(*saved, 12, 0), MakeRgb(127, 127, 255));  // half blue on white
  EXPECT_TRUE(bitmap->HasAlpha());  // the picture itself keeps its alpha
}

TEST(BitmapAlpha, V5BitmapsForOtherProgramsCarryStraightAlphaOrNone) {
  auto bitmap = HalfTransparent();
  std::vector<std::uint8_t> dib(bitmap->DibV5Size());
  bitmap->WriteDibV5(dib.data());
  TBitmap back;
  back.LoadFromDib(dib.data(), dib.size());
  EXPECT_TRUE(back.HasAlpha());
  EXPECT_EQ(RowsOf(back), RowsOf(*bitmap));
  // A picture without alpha is opaque throughout.
  auto opaque = test::Bitmap24(3, 1);
  dib.assign(opaque->DibV5Size(), 0);
  opaque->WriteDibV5(dib.data());
  EXPECT_EQ(std::vector<std::uint8_t>(dib.begin() + 124, dib.end()), std::vector<std::uint8_t>(12, 255));
}

TEST(BitmapAlpha, CopiesKeepAlphaAndWhatTheyAddIsOpaque) {
  auto bitmap = HalfTransparent();
  TBitmap copy;
  copy.Assign(bitmap.get());
  copy.ScanLine(0)[0] = 7;  // a change takes a copy of the shared image
  EXPECT_TRUE(copy.HasAlpha());
  EXPECT_EQ(copy.Image()->Row(1)[12 * 4 + 3], 0);
  copy.SetWidth(17);
  EXPECT_TRUE(copy.HasAlpha());
  EXPECT_EQ(copy.Image()->Row(0)[16 * 4 + 3], 255);  // the new column: opaque white
  copy.SetPixelFormat(TPixelFormat::Bit24);
  EXPECT_FALSE(copy.HasAlpha());
}

}  // namespace
}  // namespace pelmora
