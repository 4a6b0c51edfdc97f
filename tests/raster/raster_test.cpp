#include <gtest/gtest.h>

#include "base/errors.h"
#include "base/strings.h"
#include "raster/image.h"
#include "raster/operations.h"
#include "raster/screen.h"
#include "support/error_message.h"

namespace pelmora::raster {
namespace {

using test::Failure;
using test::FailureOf;

std::shared_ptr<Image> Section(int width, int height, int bits, std::span<const Rgb> colours = {}) {
  InfoHeader h{.size = 40, .width = width, .height = height, .planes = 1,
               .bit_count = static_cast<std::uint16_t>(bits)};
  return Image::MakeSection(h, colours);
}

TEST(RasterImage, SectionsAreMadeOnlyFromSoundHeadersWithinTheCeiling) {
  const std::string invalid = Failure("EInvalidGraphic", strings::kInvalidBitmap);
  auto make = [](InfoHeader h) { return [h] { Image::MakeSection(h); }; };
  InfoHeader ok{.size = 40, .width = 3, .height = -2, .planes = 1, .bit_count = 24};
  EXPECT_EQ(FailureOf(make(ok)), "ok");

  InfoHeader h = ok;
  h.bit_count = 2;
  EXPECT_EQ(FailureOf(make(h)), invalid);
  h = ok;
  h.compression = kBiRle8;
  EXPECT_EQ(FailureOf(make(h)), invalid);
  h = ok;
  h.height = INT32_MIN;
  EXPECT_EQ(FailureOf(make(h)), invalid);
  // A sound header beyond the ceiling is a picture too large, not a broken one.
  const std::string too_large = Failure("EOutOfResources", strings::kPictureTooLarge);
  h = ok;
  h.width = INT32_MAX;
  h.height = INT32_MAX;
  EXPECT_EQ(FailureOf(make(h)), too_large);
  // Exactly at the ceiling is allowed in principle; one row more is not.
  h = ok;
  h.bit_count = 32;
  h.width = 16384;
  h.height = 16385;
  EXPECT_EQ(FailureOf(make(h)), too_large);

  auto image = Image::MakeSection(ok);
  EXPECT_EQ(image->RowBytes(), 12u);
  EXPECT_EQ(image->Header().size_image, 24u);
  EXPECT_TRUE(image->TopDown());
  EXPECT_EQ(image->Row(1), image->Bits() + 12);
  EXPECT_TRUE(image->ColourTable().empty());
  // An indexed section reports the colours it uses, and no more.
  InfoHeader eight{.size = 40, .width = 1, .height = 1, .planes = 1, .bit_count = 8,
                   .clr_used = 16};
  EXPECT_EQ(Image::MakeSection(eight)->ColourTable().size(), 16u);
  eight.clr_used = 0;
  EXPECT_EQ(Image::MakeSection(eight)->ColourTable().size(), 256u);
}

TEST(RasterImage, DisplayBitmapsFollowTheScreen) {
  struct Case {
    int screen_bits;
    int bits;
    std::uint32_t green_mask;
    std::size_t colours;
  };
  for (Case c : {Case{32, 32, 0xFF00, 0}, Case{24, 24, 0xFF00, 0}, Case{16, 16, 0x07E0, 0},
                 Case{15, 16, 0x03E0, 0}, Case{8, 8, 0, 256}, Case{4, 4, 0, 16}}) {
    SCOPED_TRACE(c.screen_bits);
    ScopedScreen screen({.bits_per_pixel = c.screen_bits});
    auto image = Image::MakeDisplay(5, 3, false);
    EXPECT_FALSE(image->IsSection());
    EXPECT_EQ(image->BitCount(), c.bits);
    EXPECT_EQ(image->BitMasks()[1], c.green_mask);
    EXPECT_EQ(image->ColourTable().size(), c.colours);
    Description d = image->Describe();
    EXPECT_EQ(d.bitmap.bits, nullptr);
    EXPECT_EQ(d.header.size, 0u);
    EXPECT_EQ(d.bitmap.width_bytes % 2, 0);
    image->FillWhite();
    EXPECT_EQ(image->Pixel(4, 2), kWhite);
  }
  auto mono = Image::MakeDisplay(5, 3, true);
  EXPECT_EQ(mono->BitCount(), 1);
  EXPECT_EQ(mono->Pixel(0, 0), kBlack);
}

TEST(RasterPalette, HalftoneAndSystemPalettesAndNearestMatch) {
  auto halftone = Palette::MakeHalftone();
  EXPECT_EQ(halftone->Count(), 256);
  EXPECT_TRUE(halftone->IsHalftone());
  const auto& entries = halftone->Entries();
  for (Rgb pure : {kBlack, kWhite, MakeRgb(255, 0, 0), MakeRgb(0, 255, 0), MakeRgb(0, 0, 255)}) {
    EXPECT_EQ(entries[NearestIndex(entries, pure)], pure);
  }
  auto system = Palette::System16();
  EXPECT_EQ(system, Palette::System16());
  EXPECT_EQ(system->Count(), 16);
  EXPECT_EQ(system->Entries()[7], MakeRgb(192, 192, 192));
  EXPECT_EQ(NearestIndex(system->Entries(), MakeRgb(120, 130, 125)), 8);
  EXPECT_EQ(NearestIndex({}, kWhite), 0);
  EXPECT_EQ(Palette(std::vector<Rgb>(300)).Count(), 256);
}

TEST(RasterConvert, PixelsMoveBetweenFormsOverTheCommonArea) {
  {  // 1 bit into 1 bit of another width: bits beyond the copied width are kept.
    const Rgb mono[] = {kBlack, kWhite};
    auto source = Section(3, 1, 1, mono);
    source->Bits()[0] = 0xE0;
    auto target = Section(5, 1, 1, mono);
    target->Bits()[0] = 0x18;
    Convert(*source, *target);
    EXPECT_EQ(target->Bits()[0], 0xF8);
  }
  {  // 8 bits into 32 and back again into another table
    auto source = Section(2, 2, 8, Palette::System16()->Entries());
    source->Row(0)[1] = 9;
    auto wide = Section(2, 2, 32);
    Convert(*source, *wide);
    EXPECT_EQ(wide->Pixel(1, 0), MakeRgb(255, 0, 0));
    EXPECT_EQ(wide->Pixel(0, 1), kBlack);
    auto halftone = Section(2, 2, 8, Palette::MakeHalftone()->Entries());
    Convert(*wide, *halftone);
    EXPECT_EQ(halftone->Pixel(1, 0), MakeRgb(255, 0, 0));
  }
  {  // Different sizes: only the shared top-left area is written
    auto source = Section(1, 3, 24);
    source->Fill(MakeRgb(1, 2, 3));
    auto target = Section(2, 2, 24);
    target->FillWhite();
    Convert(*source, *target);
    EXPECT_EQ(target->Pixel(0, 1), MakeRgb(1, 2, 3));
    EXPECT_EQ(target->Pixel(1, 0), kWhite);
  }
}

TEST(RasterStretch, NearestAndAveragedStretching) {
  auto source = Section(4, 1, 24);
  for (int x = 0; x < 4; ++x) source->SetPixel(x, 0, x % 2 ? kWhite : kBlack);

  auto target = Section(2, 2, 24);
  Stretch(*source, TRect{0, 0, 4, 1}, *target, TRect{0, 0, 2, 2}, StretchMode::Halftone);
  EXPECT_EQ(target->Pixel(0, 0), MakeRgb(128, 128, 128));
  EXPECT_EQ(target->Pixel(1, 1), MakeRgb(128, 128, 128));

  Stretch(*source, TRect{0, 0, 4, 1}, *target, TRect{0, 0, 2, 2}, StretchMode::ColorOnColor);
  EXPECT_EQ(target->Pixel(0, 0), kWhite);  // the centre of the first half lies on column 1
  EXPECT_EQ(target->Pixel(1, 0), kWhite);

  // Enlarging 2 to 6 repeats each pixel three times, clipped at the target's edge.
  auto two = Section(2, 1, 24);
  two->SetPixel(0, 0, MakeRgb(255, 0, 0));
  two->SetPixel(1, 0, MakeRgb(0, 0, 255));
  auto wide = Section(4, 1, 24);
  wide->FillWhite();
  Stretch(*two, TRect{0, 0, 2, 1}, *wide, TRect{-1, 0, 5, 1}, StretchMode::Halftone);
  EXPECT_EQ(wide->Pixel(0, 0), MakeRgb(255, 0, 0));
  EXPECT_EQ(wide->Pixel(1, 0), MakeRgb(255, 0, 0));
  EXPECT_EQ(wide->Pixel(2, 0), MakeRgb(0, 0, 255));
  EXPECT_EQ(wide->Pixel(3, 0), MakeRgb(0, 0, 255));

  // Empty or inverted rectangles draw nothing; a source rectangle outside the source too.
  wide->FillWhite();
  Stretch(*two, TRect{0, 0, 2, 1}, *wide, TRect{3, 0, 1, 1}, StretchMode::ColorOnColor);
  Stretch(*two, TRect{0, 0, 3, 1}, *wide, TRect{0, 0, 4, 1}, StretchMode::ColorOnColor);
  Stretch(*two, TRect{0, 0, 2, 1}, *wide, TRect{10, 0, 14, 1}, StretchMode::ColorOnColor);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(wide->Pixel(x, 0), kWhite);
}

}  // namespace
}  // namespace pelmora::raster
