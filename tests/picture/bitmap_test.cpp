#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/strings.h"
#include "picture/bitmap.h"
#include "picture/bitmap_test_support.h"
#include "picture/bmp_builder.h"
#include "picture/canvas.h"
#include "raster/screen.h"

namespace pelmora {
namespace {

using raster::MakeRgb;
using raster::Rgb;
using test::Failure;
using test::FailureOf;
using test::PixelOf;

// A 24-bit bitmap whose pixel (x, y) is (10x + 1, 10y + 1, 7).
std::unique_ptr<TBitmap> Pattern(int width, int height) {
  auto bmp = test::Bitmap24(width, height);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = bmp->ScanLine(y);
    for (int x = 0; x < width; ++x) {
      row[3 * x] = 7;
      row[3 * x + 1] = static_cast<std::uint8_t>(10 * y + 1);
      row[3 * x + 2] = static_cast<std::uint8_t>(10 * x + 1);
    }
  }
  return bmp;
}

// A surface over an image that also notes, for each StretchDraw, the mode it was given and
// the size of its palette (0 for none).
class RecordingCanvas final : public TCanvas {
 public:
  struct Drawing {
    StretchMode mode;
    int palette_colours;
  };

  explicit RecordingCanvas(std::shared_ptr<raster::Image> target) : surface_(std::move(target)) {}

  void StretchDraw(const raster::Image& image, const TRect& dest, StretchMode mode,
                   const raster::Palette* palette) override {
    drawings.push_back({mode, palette ? palette->Count() : 0});
    surface_.StretchDraw(image, dest, mode, palette);
  }
  int DeviceDepth() const override { return surface_.DeviceDepth(); }

  std::vector<Drawing> drawings;

 private:
  TImageCanvas surface_;
};

struct ChangeCounter {
  int count = 0;
  void Attach(TGraphic& g) {
    g.SetOnChange([this](TGraphic&) { ++count; });
  }
};

TEST(BitmapSize, EmptyBitmapKeepsItsFormatUntilItHasASize) {
  TBitmap bmp;
  ChangeCounter changes;
  changes.Attach(bmp);
  EXPECT_EQ(bmp.PixelFormat(), TPixelFormat::Device);
  bmp.SetPixelFormat(TPixelFormat::Bit24);
  EXPECT_TRUE(bmp.Empty());
  EXPECT_EQ(bmp.PixelFormat(), TPixelFormat::Bit24);
  bmp.SetWidth(10);
  EXPECT_TRUE(bmp.Empty());
  bmp.SetHeight(5);
  ASSERT_FALSE(bmp.Empty());
  EXPECT_TRUE(bmp.Image()->IsSection());
  EXPECT_EQ(bmp.PixelFormat(), TPixelFormat::Bit24);
  EXPECT_EQ(bmp.RowBytes(), 32);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 10; ++x) EXPECT_EQ(PixelOf(bmp, x, y), raster::kWhite);
  }
  EXPECT_EQ(changes.count, 3);

  // The same format again changes nothing and tells nobody.
  bmp.SetPixelFormat(TPixelFormat::Bit24);
  bmp.SetWidth(10);
  EXPECT_EQ(changes.count, 3);

  // Sized for a decoder: rows stay as made until the decoder's caller whitens the rest.
  for (auto format : {TPixelFormat::Bit24, TPixelFormat::Bit8}) {
    TBitmap decoded;
    decoded.SetPixelFormat(format);
    decoded.SetSizeForDecoding(3, 4);
    ASSERT_EQ(decoded.Height(), 4);
    EXPECT_EQ(decoded.PixelFormat(), format);
    EXPECT_NE(PixelOf(decoded, 2, 1), raster::kWhite);
    decoded.FillRowsWhite(2, 4);
    EXPECT_NE(PixelOf(decoded, 0, 1), raster::kWhite);
    EXPECT_EQ(PixelOf(decoded, 0, 2), raster::kWhite);
    EXPECT_EQ(PixelOf(decoded, 2, 3), raster::kWhite);
  }
}

TEST(BitmapSize, GrowingKeepsOldPixelsTopLeftAndWhitensTheRest) {
  auto bmp = Pattern(2, 2);
  bmp->SetWidth(4);
  EXPECT_EQ(bmp->Width(), 4);
  for (int y = 0; y < 2; ++y) {
    EXPECT_EQ(PixelOf(*bmp, 0, y), MakeRgb(1, static_cast<std::uint8_t>(10 * y + 1), 7));
    EXPECT_EQ(PixelOf(*bmp, 1, y), MakeRgb(11, static_cast<std::uint8_t>(10 * y + 1), 7));
    EXPECT_EQ(PixelOf(*bmp, 2, y), raster::kWhite);
    EXPECT_EQ(PixelOf(*bmp, 3, y), raster::kWhite);
  }
  bmp->SetHeight(1);
  EXPECT_EQ(bmp->Height(), 1);
  EXPECT_EQ(PixelOf(*bmp, 1, 0), MakeRgb(11, 1, 7));

  // A top-down section made wider keeps its rows top-down.
  raster::InfoHeader header{.size = 40, .width = 1, .height = -2, .planes = 1, .bit_count = 24};
  TBitmap top_down;
  top_down.LoadFromClipboardFormat(kCfBitmap,
                                   ClipboardData{raster::Image::MakeSection(header), nullptr});
  top_down.SetWidth(3);
  EXPECT_EQ(top_down.Height(), 2);
  EXPECT_TRUE(top_down.Image()->TopDown());
}

TEST(BitmapRows, BottomUpRowsRunBackwardsThroughMemory) {
  auto bmp = Pattern(3, 4);
  const std::uint8_t* memory = bmp->Image()->Bits();
  const int row_bytes = bmp->RowBytes();
  EXPECT_EQ(row_bytes, 12);
  EXPECT_EQ(bmp->ScanLine(3), memory);
  EXPECT_EQ(bmp->ScanLine(0), memory + 3 * row_bytes);
  EXPECT_EQ(bmp->ScanLine(1), bmp->ScanLine(0) - row_bytes);

  const std::string out_of_range =
      Failure("EInvalidGraphicOperation", strings::kScanLineOutOfRange);
  EXPECT_EQ(FailureOf([&] { bmp->ScanLine(-1); }), out_of_range);
  EXPECT_EQ(FailureOf([&] { bmp->ScanLine(4); }), out_of_range);
  TBitmap empty;
  EXPECT_EQ(FailureOf([&] { empty.ScanLine(0); }), out_of_range);
}

TEST(BitmapRows, RowsOfADisplayBitmapReachWhatItDraws) {
  raster::ScopedScreen screen({.bits_per_pixel = 32});
  auto bmp = Pattern(2, 2);
  bmp->SetPixelFormat(TPixelFormat::Device);
  ASSERT_FALSE(bmp->Image()->IsSection());
  std::uint8_t* row = bmp->ScanLine(1);
  row[0] = 0;
  row[1] = 0;
  row[2] = 200;
  EXPECT_EQ(PixelOf(*bmp, 0, 1), MakeRgb(200, 0, 0));
  EXPECT_EQ(bmp->PixelFormat(), TPixelFormat::Device);
  // Later changes keep what was written.
  bmp->SetWidth(3);
  EXPECT_EQ(PixelOf(*bmp, 0, 1), MakeRgb(200, 0, 0));
  // Two rows held at once: taking the second leaves the first valid, also after a read.
  std::uint8_t* top = bmp->ScanLine(0);
  std::uint8_t* bottom = bmp->ScanLine(1);
  ASSERT_EQ(bmp->RowBytes(), 12);  // the twin of a 32-bit display bitmap
  top[6] = 50;
  bottom[6] = 60;
  EXPECT_EQ(PixelOf(*bmp, 1, 0).red, 50);
  top[10] = 70;
  EXPECT_EQ(PixelOf(*bmp, 2, 0).red, 70);
  EXPECT_EQ(PixelOf(*bmp, 1, 1).red, 60);
}

TEST(BitmapFormat, ConversionsKeepOrMatchColours) {
  raster::ScopedScreen screen({.bits_per_pixel = 32});
  const Rgb red = MakeRgb(255, 0, 0);
  const Rgb dark_red = MakeRgb(100, 10, 0);
  const Rgb light = MakeRgb(200, 200, 200);
  auto source = [&] {
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(TPixelFormat::Bit24);
    bmp->SetWidth(3);
    bmp->SetHeight(1);
    std::uint8_t* row = bmp->ScanLine(0);
    const Rgb colours[] = {red, dark_red, light};
    for (int x = 0; x < 3; ++x) {
      row[3 * x] = colours[x].blue;
      row[3 * x + 1] = colours[x].green;
      row[3 * x + 2] = colours[x].red;
    }
    return bmp;
  };
  struct Case {
    TPixelFormat format;
    int bits;
    Rgb expected[3];
  };
  const Case cases[] = {
      {TPixelFormat::Bit32, 32, {red, dark_red, light}},
      {TPixelFormat::Bit15, 16, {red, MakeRgb(99, 8, 0), MakeRgb(197, 197, 197)}},
      {TPixelFormat::Bit16, 16, {red, MakeRgb(99, 8, 0), MakeRgb(197, 198, 197)}},
      {TPixelFormat::Bit8, 8, {red, MakeRgb(102, 0, 0), MakeRgb(198, 198, 198)}},
      {TPixelFormat::Bit4, 4, {red, MakeRgb(128, 0, 0), MakeRgb(192, 192, 192)}},
      {TPixelFormat::Bit1, 1, {raster::kBlack, raster::kBlack, raster::kWhite}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.format));
    auto bmp = source();
    bmp->SetPixelFormat(c.format);
    EXPECT_EQ(bmp->PixelFormat(), c.format);
    EXPECT_EQ(bmp->Image()->BitCount(), c.bits);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(PixelOf(*bmp, x, 0), c.expected[x]) << x;
    // And back to 24 bits: the matched colours survive.
    bmp->SetPixelFormat(TPixelFormat::Bit24);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(PixelOf(*bmp, x, 0), c.expected[x]) << x;
  }

  {  // Device: the screen's format, here 16 bits 5-6-5.
    raster::ScopedScreen screen16({.bits_per_pixel = 16});
    auto bmp = source();
    bmp->SetPixelFormat(TPixelFormat::Device);
    EXPECT_FALSE(bmp->Image()->IsSection());
    EXPECT_EQ(bmp->Image()->BitCount(), 16);
    EXPECT_EQ(PixelOf(*bmp, 0, 0), red);
    EXPECT_EQ(bmp->Image()->Describe().header.size, 0u);
  }
  {  // Custom is no format to convert to.
    auto bmp = source();
    EXPECT_EQ(FailureOf([&] { bmp->SetPixelFormat(TPixelFormat::Custom); }),
              Failure("EInvalidGraphic", strings::kInvalidPixelFormat));
    EXPECT_EQ(bmp->PixelFormat(), TPixelFormat::Bit24);
  }
}

TEST(BitmapRecord, SharedImagesAreCopiedBeforeAChange) {
  auto a = Pattern(2, 1);
  TBitmap b;
  ChangeCounter changes;
  changes.Attach(b);
  b.Assign(a.get());
  EXPECT_EQ(changes.count, 1);
  EXPECT_EQ(b.Image(), a->Image());
  b.ScanLine(0)[0] = 99;
  EXPECT_NE(b.Image(), a->Image());
  EXPECT_EQ(PixelOf(*a, 0, 0).blue, 7);
  EXPECT_EQ(PixelOf(b, 0, 0).blue, 99);

  b.Assign(nullptr);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(changes.count, 2);

  // Another kind of graphic cannot be assigned.
  struct Other final : TPersistent {
    const char* ClassName() const noexcept override { return "TOther"; }
  } other;
  EXPECT_EQ(FailureOf([&] { b.Assign(&other); }),
            Failure("EConvertError", Format(strings::kAssignError, {"TOther", "TBitmap"}).c_str()));
}

TEST(BitmapRecord, HandleToNoneAndPalettes) {
  auto bmp = Pattern(2, 2);
  bmp->SetPixelFormat(TPixelFormat::Bit8);
  ASSERT_NE(bmp->Palette(), nullptr);
  EXPECT_TRUE(bmp->Palette()->IsHalftone());
  auto palette = bmp->Palette();

  // A new palette on an 8-bit section becomes its colour table.
  auto grays = std::make_shared<raster::Palette>(std::vector<Rgb>{
      raster::kBlack, MakeRgb(128, 128, 128), raster::kWhite});
  bmp->SetPalette(grays);
  EXPECT_EQ(bmp->Palette(), grays);
  EXPECT_EQ(bmp->Image()->ColourTable()[1], MakeRgb(128, 128, 128));
  EXPECT_TRUE(bmp->PaletteModified());

  bmp->SetHandleToNone();
  EXPECT_TRUE(bmp->Empty());
  EXPECT_EQ(bmp->PixelFormat(), TPixelFormat::Device);
  EXPECT_EQ(bmp->Palette(), grays);
}

TEST(BitmapClipboard, TakesAndGivesDisplayBitmapsAndSections) {
  raster::ScopedScreen screen({.bits_per_pixel = 32});
  {  // A display bitmap stays one, same size and pixels.
    auto image = raster::Image::MakeDisplay(3, 2, false);
    image->SetPixel(2, 1, MakeRgb(1, 2, 3));
    TBitmap bmp;
    bmp.LoadFromClipboardFormat(kCfBitmap, ClipboardData{image, nullptr});
    EXPECT_EQ(bmp.PixelFormat(), TPixelFormat::Device);
    EXPECT_EQ(bmp.Width(), 3);
    EXPECT_EQ(PixelOf(bmp, 2, 1), MakeRgb(1, 2, 3));
    EXPECT_EQ(PixelOf(bmp, 0, 0), raster::kBlack);
    // Saved as BMP: a 40-byte header at the screen's depth, bottom-up, no table.
    auto saved = test::SaveBitmap(bmp);
    EXPECT_EQ(saved[14], 40);
    EXPECT_EQ(saved.size(), 54u + 3 * 4 * 2);
    EXPECT_EQ(saved[28], 32);
  }
  {  // Monochrome stays monochrome.
    auto image = raster::Image::MakeDisplay(9, 1, true);
    image->SetPixel(8, 0, raster::kWhite);
    TBitmap bmp;
    bmp.LoadFromClipboardFormat(kCfBitmap, ClipboardData{image, nullptr});
    EXPECT_EQ(bmp.Image()->BitCount(), 1);
    EXPECT_EQ(PixelOf(bmp, 8, 0), raster::kWhite);
    EXPECT_EQ(PixelOf(bmp, 7, 0), raster::kBlack);
  }
  {  // A section keeps its depth and colours.
    raster::InfoHeader h{.size = 40, .width = 2, .height = 1, .planes = 1, .bit_count = 4};
    auto image = raster::Image::MakeSection(h, raster::Palette::System16()->Entries());
    image->Bits()[0] = 0x9C;
    TBitmap bmp;
    bmp.LoadFromClipboardFormat(kCfBitmap, ClipboardData{image, nullptr});
    EXPECT_EQ(bmp.PixelFormat(), TPixelFormat::Bit4);
    EXPECT_EQ(PixelOf(bmp, 0, 0), MakeRgb(255, 0, 0));
    EXPECT_EQ(PixelOf(bmp, 1, 0), MakeRgb(0, 0, 255));

    std::uint16_t format = 0;
    ClipboardData out;
    bmp.SaveToClipboardFormat(format, out);
    EXPECT_EQ(format, kCfBitmap);
    ASSERT_NE(out.image, nullptr);
    EXPECT_FALSE(out.image->IsSection());
    EXPECT_EQ(out.image->Pixel(1, 0), MakeRgb(0, 0, 255));
  }
  {  // 0 x 0 is an empty bitmap; other formats and no data are refused.
    TBitmap bmp;
    bmp.LoadFromClipboardFormat(kCfBitmap, ClipboardData{raster::Image::MakeDisplay(0, 0, false), nullptr});
    EXPECT_TRUE(bmp.Empty());
    const std::string unknown = Failure("EInvalidGraphic", strings::kUnknownClipboardFormat);
    EXPECT_EQ(FailureOf([&] { bmp.LoadFromClipboardFormat(kCfBitmap, ClipboardData{}); }),
              unknown);
    EXPECT_EQ(FailureOf([&] {
                bmp.LoadFromClipboardFormat(
                    3, ClipboardData{raster::Image::MakeDisplay(1, 1, false), nullptr});
              }),
              unknown);
  }
}

TEST(BitmapDraw, ChoosesStretchModeAndPaletteAndDrawsTheWholeImage) {
  raster::ScopedScreen screen({.bits_per_pixel = 32});
  auto bmp = Pattern(2, 2);
  {
    auto target = raster::Image::MakeDisplay(4, 4, false);
    RecordingCanvas canvas(target);
    bmp->Draw(canvas, TRect{0, 0, 4, 4});
    ASSERT_EQ(canvas.drawings.size(), 1u);
    EXPECT_EQ(canvas.drawings[0].mode, StretchMode::ColorOnColor);
    EXPECT_EQ(canvas.drawings[0].palette_colours, 0);
    EXPECT_EQ(target->Pixel(0, 0), MakeRgb(1, 1, 7));
    EXPECT_EQ(target->Pixel(3, 3), MakeRgb(11, 11, 7));
    EXPECT_EQ(target->Pixel(1, 2), MakeRgb(1, 11, 7));
  }
  {  // An 8-bit surface below the bitmap's depth: halftone.
    raster::InfoHeader h{.size = 40, .width = 4, .height = 4, .planes = 1, .bit_count = 8};
    auto target = raster::Image::MakeSection(h, raster::Palette::MakeHalftone()->Entries());
    RecordingCanvas canvas(target);
    bmp->Draw(canvas, TRect{0, 0, 4, 4});
    ASSERT_EQ(canvas.drawings.size(), 1u);
    EXPECT_EQ(canvas.drawings[0].mode, StretchMode::Halftone);
  }
  {  // A monochrome bitmap keeps the surface's mode; an empty one draws nothing.
    TBitmap mono;
    mono.LoadFromClipboardFormat(kCfBitmap,
                                 ClipboardData{raster::Image::MakeDisplay(2, 2, true), nullptr});
    auto target = raster::Image::MakeDisplay(2, 2, false);
    RecordingCanvas canvas(target);
    mono.Draw(canvas, TRect{0, 0, 2, 2});
    TBitmap empty;
    empty.Draw(canvas, TRect{0, 0, 2, 2});
    ASSERT_EQ(canvas.drawings.size(), 1u);
    EXPECT_EQ(canvas.drawings[0].mode, StretchMode::Unchanged);
  }
  {  // A section with a colour table draws with a palette made from it.
    auto eight = Pattern(1, 1);
    eight->SetPixelFormat(TPixelFormat::Bit4);
    eight->SetPalette(nullptr);
    auto target = raster::Image::MakeDisplay(1, 1, false);
    RecordingCanvas canvas(target);
    eight->Draw(canvas, TRect{0, 0, 1, 1});
    ASSERT_EQ(canvas.drawings.size(), 1u);
    EXPECT_EQ(canvas.drawings[0].palette_colours, 16);
  }
}

}  // namespace
}  // namespace pelmora
