#include <gtest/gtest.h>

#include <tuple>

#include "base/strings.h"
#include "picture/bitmap_test_support.h"
#include "picture/bmp_builder.h"
#include "raster/screen.h"

namespace pelmora {
namespace {

using raster::MakeRgb;
using raster::Rgb;
using test::BmpSpec;
using test::BuildBmp;
using test::Failure;
using test::FailureOf;
using test::LoadBitmap;
using test::PixelOf;
using test::SaveBitmap;

std::vector<Rgb> Grays(int n) {
  std::vector<Rgb> out;
  for (int i = 0; i < n; ++i) {
    auto v = static_cast<std::uint8_t>(i);
    out.push_back(MakeRgb(v, v, v));
  }
  return out;
}

TEST(BmpLoad, EveryDepthLoadsWithItsColoursAndSavesBackUnchanged) {
  struct Case {
    const char* name;
    BmpSpec spec;
    TPixelFormat format;
    std::vector<std::tuple<int, int, Rgb>> pixels;  // x, y from the top, colour
  };
  // Indexed files are written back with their colours-used count filled in, so these
  // files carry it already.
  const Case cases[] = {
      {"1 bit, 3 x 2: top row white black white, bottom row black white black",
       {.width = 3, .height = 2, .bit_count = 1, .clr_used = 2,
        .colours = {raster::kBlack, raster::kWhite}, .pixels = {0x40, 0, 0, 0, 0xA0, 0, 0, 0}},
       TPixelFormat::Bit1,
       {{0, 0, raster::kWhite}, {1, 0, raster::kBlack}, {1, 1, raster::kWhite}}},
      {"4 bits: red, green, blue from a 16-colour table",
       {.width = 3, .height = 1, .bit_count = 4, .clr_used = 16,
        .colours = raster::Palette::System16()->Entries(), .pixels = {0x9A, 0xC0, 0, 0}},
       TPixelFormat::Bit4,
       {{0, 0, MakeRgb(255, 0, 0)}, {1, 0, MakeRgb(0, 255, 0)}, {2, 0, MakeRgb(0, 0, 255)}}},
      {"8 bits with a full table",
       {.width = 2, .height = 1, .bit_count = 8, .clr_used = 256, .colours = Grays(256),
        .pixels = {0x10, 0xF0, 0, 0}},
       TPixelFormat::Bit8,
       {{1, 0, MakeRgb(0xF0, 0xF0, 0xF0)}}},
      {"16 bits, no masks: 5-5-5",
       {.width = 2, .height = 1, .bit_count = 16, .pixels = {0x00, 0x7C, 0xFF, 0x7F}},
       TPixelFormat::Bit15,
       {{0, 0, MakeRgb(255, 0, 0)}, {1, 0, raster::kWhite}}},
      {"16 bits, bit fields 5-6-5",
       {.width = 2, .height = 1, .bit_count = 16, .compression = 3,
        .masks = {0xF800, 0x07E0, 0x001F}, .pixels = {0xE0, 0x07, 0x1F, 0x00}},
       TPixelFormat::Bit16,
       {{0, 0, MakeRgb(0, 255, 0)}, {1, 0, MakeRgb(0, 0, 255)}}},
      {"16 bits, bit fields 5-5-5: a form of its own",
       {.width = 1, .height = 1, .bit_count = 16, .compression = 3,
        .masks = {0x7C00, 0x03E0, 0x001F}, .pixels = {0xE0, 0x03, 0, 0}},
       TPixelFormat::Custom,
       {{0, 0, MakeRgb(0, 255, 0)}}},
      {"24 bits, 2 x 2, bottom-up",
       {.width = 2, .height = 2, .bit_count = 24, .x_pels_per_meter = 3780,
        .y_pels_per_meter = 3780, .pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}},
       TPixelFormat::Bit24,
       {{0, 0, MakeRgb(9, 8, 7)}, {1, 1, MakeRgb(6, 5, 4)}}},
      {"32 bits",
       {.width = 1, .height = 1, .bit_count = 32, .pixels = {30, 20, 10, 0}},
       TPixelFormat::Bit32,
       {{0, 0, MakeRgb(10, 20, 30)}}},
      {"32 bits with bit fields",
       {.width = 1, .height = 1, .bit_count = 32, .compression = 3,
        .masks = {0xFF000000, 0x00FF0000, 0x0000FF00}, .pixels = {0, 30, 20, 10}},
       TPixelFormat::Custom,
       {{0, 0, MakeRgb(10, 20, 30)}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto bytes = BuildBmp(c.spec);
    auto bmp = LoadBitmap(bytes);
    EXPECT_EQ(bmp->PixelFormat(), c.format);
    EXPECT_EQ(bmp->Width(), c.spec.width);
    EXPECT_EQ(bmp->Height(), c.spec.height);
    for (const auto& [x, y, colour] : c.pixels) EXPECT_EQ(PixelOf(*bmp, x, y), colour);
    EXPECT_EQ(SaveBitmap(*bmp), bytes);
  }
}

TEST(BmpLoad, LongHeadersAreAcceptedWithTheirMasks) {
  for (std::uint32_t size : {52u, 56u, 108u, 124u}) {
    SCOPED_TRACE(size);
    BmpSpec s{.header_size = size, .width = 1, .height = 1, .bit_count = 16, .compression = 3};
    s.masks = {0xF800, 0x07E0, 0x001F};
    s.pixels = {0x1F, 0x00, 0, 0};
    auto bmp = LoadBitmap(BuildBmp(s));
    EXPECT_EQ(bmp->PixelFormat(), TPixelFormat::Bit16);
    EXPECT_EQ(PixelOf(*bmp, 0, 0), MakeRgb(0, 0, 255));
    // Written back with a plain header and the masks after it.
    auto saved = SaveBitmap(*bmp);
    ASSERT_EQ(saved.size(), 14u + 40 + 12 + 4);
    EXPECT_EQ(saved[14], 40);
    EXPECT_EQ(saved[10], 14 + 40 + 12);
  }
}

TEST(BmpLoad, CoreHeaderFilesLoadAndAreWrittenBackInTheirForm) {
  {
    BmpSpec s{.header_size = 12, .width = 2, .height = 1, .bit_count = 4};
    s.colours = raster::Palette::System16()->Entries();
    s.pixels = {0x9C, 0, 0, 0};
    auto bytes = BuildBmp(s);
    auto bmp = LoadBitmap(bytes);
    EXPECT_EQ(bmp->PixelFormat(), TPixelFormat::Bit4);
    EXPECT_EQ(PixelOf(*bmp, 0, 0), MakeRgb(255, 0, 0));
    EXPECT_EQ(PixelOf(*bmp, 1, 0), MakeRgb(0, 0, 255));
    EXPECT_EQ(SaveBitmap(*bmp), bytes);
  }
  {
    BmpSpec s{.header_size = 12, .width = 1, .height = 1, .bit_count = 24};
    s.pixels = {1, 2, 3, 0};
    auto bytes = BuildBmp(s);
    auto bmp = LoadBitmap(bytes);
    EXPECT_EQ(PixelOf(*bmp, 0, 0), MakeRgb(3, 2, 1));
    EXPECT_EQ(SaveBitmap(*bmp), bytes);
  }
  {  // A shorter table than the bit count allows, the pixel offset at its end: the table
     // ends there and the rows start there, not 3 bytes per missing entry later.
    BmpSpec s{.header_size = 12, .width = 2, .height = 2, .bit_count = 4};
    s.colours = raster::Palette::System16()->Entries();
    s.colours.resize(13);
    s.pixels = {0x9C, 0, 0, 0, 0xC9, 0, 0, 0};
    auto bmp = LoadBitmap(BuildBmp(s));
    EXPECT_EQ(PixelOf(*bmp, 0, 1), MakeRgb(255, 0, 0));
    EXPECT_EQ(PixelOf(*bmp, 1, 1), MakeRgb(0, 0, 255));
    EXPECT_EQ(PixelOf(*bmp, 0, 0), MakeRgb(0, 0, 255));
    EXPECT_EQ(PixelOf(*bmp, 1, 0), MakeRgb(255, 0, 0));
    // An offset inside the table but not after a whole entry cannot be read consistently.
    s.gap = {0xEE};
    EXPECT_EQ(FailureOf([&] { LoadBitmap(BuildBmp(s)); }),
              Failure("EInvalidGraphic", strings::kInvalidBitmap));
  }
  {  // Too wide for a core header after a change: written with a plain header.
    BmpSpec s{.header_size = 12, .width = 1, .height = 1, .bit_count = 24};
    s.pixels = {1, 2, 3, 0};
    auto bmp = LoadBitmap(BuildBmp(s));
    bmp->SetWidth(70000);
    auto saved = SaveBitmap(*bmp);
    EXPECT_EQ(saved[14], 40);
    EXPECT_EQ(test::RowBytesOf(70000, 24) + 54, saved.size());
  }
}

TEST(BmpLoad, TopDownRowsKeepTheirOrder) {
  BmpSpec s{.width = 1, .height = -2, .bit_count = 24};
  s.pixels = {1, 1, 1, 0, 2, 2, 2, 0};
  auto bytes = BuildBmp(s);
  auto bmp = LoadBitmap(bytes);
  EXPECT_EQ(bmp->Height(), 2);
  EXPECT_EQ(PixelOf(*bmp, 0, 0), MakeRgb(1, 1, 1));
  EXPECT_EQ(PixelOf(*bmp, 0, 1), MakeRgb(2, 2, 2));
  EXPECT_EQ(bmp->ScanLine(0)[0], 1);
  EXPECT_EQ(bmp->ScanLine(1), bmp->ScanLine(0) + 4);
  EXPECT_EQ(SaveBitmap(*bmp), bytes);
}

std::vector<Rgb> RleColours() {
  std::vector<Rgb> c(256, raster::kBlack);
  c[1] = MakeRgb(255, 0, 0);
  c[2] = MakeRgb(0, 255, 0);
  c[3] = MakeRgb(0, 0, 255);
  return c;
}

TEST(BmpLoad, RunLengthFilesAreKeptWholeUntilChanged) {
  raster::ScopedScreen screen({.bits_per_pixel = 32});
  BmpSpec s{.width = 4, .height = 2, .bit_count = 8, .compression = 1};
  s.colours = RleColours();
  // Bottom row: 2 red, 2 green. Top row: blue red green literally, then end of image.
  s.pixels = {2, 1, 2, 2, 0, 0, 0, 3, 3, 1, 2, 0, 0, 1};
  auto bytes = BuildBmp(s);
  auto bmp = LoadBitmap(bytes);
  EXPECT_EQ(bmp->PixelFormat(), TPixelFormat::Device);
  EXPECT_EQ(PixelOf(*bmp, 0, 1), MakeRgb(255, 0, 0));
  EXPECT_EQ(PixelOf(*bmp, 3, 1), MakeRgb(0, 255, 0));
  EXPECT_EQ(PixelOf(*bmp, 0, 0), MakeRgb(0, 0, 255));
  EXPECT_EQ(PixelOf(*bmp, 2, 0), MakeRgb(0, 255, 0));
  EXPECT_EQ(PixelOf(*bmp, 3, 0), raster::kBlack);  // never written
  EXPECT_EQ(SaveBitmap(*bmp), bytes);

  // A change to the pixels drops the file: written uncompressed at the screen's depth.
  bmp->ScanLine(0)[0] = 0x7F;
  auto saved = SaveBitmap(*bmp);
  ASSERT_EQ(saved.size(), 54u + 4 * 4 * 2);
  EXPECT_EQ(saved[28], 32);  // bit count
  EXPECT_EQ(saved[30], 0);   // compression
  auto again = LoadBitmap(saved);
  EXPECT_EQ(PixelOf(*again, 0, 0), MakeRgb(0, 0, 0x7F));
  EXPECT_EQ(PixelOf(*again, 1, 0), MakeRgb(255, 0, 0));
  EXPECT_EQ(PixelOf(*again, 1, 1), MakeRgb(255, 0, 0));
}

TEST(BmpLoad, RunLengthDataIsClippedAtRowsAndImage) {
  {  // A run past the row's end is cut there; a delta past the image ends decoding.
    BmpSpec s{.width = 2, .height = 2, .bit_count = 8, .compression = 1};
    s.colours = RleColours();
    s.pixels = {5, 1, 1, 2, 0, 0, 0, 2, 5, 7, 2, 3};
    auto bmp = LoadBitmap(BuildBmp(s));
    EXPECT_EQ(PixelOf(*bmp, 0, 1), MakeRgb(255, 0, 0));
    EXPECT_EQ(PixelOf(*bmp, 1, 1), MakeRgb(255, 0, 0));
    EXPECT_EQ(PixelOf(*bmp, 0, 0), raster::kBlack);
    EXPECT_EQ(PixelOf(*bmp, 1, 0), raster::kBlack);
  }
  {  // A literal run longer than the data left, and a delta cut short
    BmpSpec s{.width = 4, .height = 1, .bit_count = 8, .compression = 1};
    s.colours = RleColours();
    s.pixels = {0, 200, 3, 2};
    auto bmp = LoadBitmap(BuildBmp(s));
    EXPECT_EQ(PixelOf(*bmp, 0, 0), MakeRgb(0, 0, 255));
    EXPECT_EQ(PixelOf(*bmp, 1, 0), MakeRgb(0, 255, 0));
    EXPECT_EQ(PixelOf(*bmp, 2, 0), raster::kBlack);
    s.pixels = {1, 1, 0, 2, 1};
    bmp = LoadBitmap(BuildBmp(s));
    EXPECT_EQ(PixelOf(*bmp, 0, 0), MakeRgb(255, 0, 0));
  }
  {  // 4 bits: runs alternate two indices; literal runs hold two pixels a byte
    BmpSpec s{.width = 6, .height = 1, .bit_count = 4, .compression = 2};
    s.colours = RleColours();
    s.colours.resize(16);
    s.pixels = {3, 0x12, 0, 3, 0x32, 0x10, 0, 1};
    auto bytes = BuildBmp(s);
    auto bmp = LoadBitmap(bytes);
    const Rgb expected[] = {MakeRgb(255, 0, 0), MakeRgb(0, 255, 0), MakeRgb(255, 0, 0),
                            MakeRgb(0, 0, 255), MakeRgb(0, 255, 0), MakeRgb(255, 0, 0)};
    for (int x = 0; x < 6; ++x) EXPECT_EQ(PixelOf(*bmp, x, 0), expected[x]) << x;
    EXPECT_EQ(SaveBitmap(*bmp), bytes);
  }
  {  // Shallower screens get the same colours in their own form.
    BmpSpec s{.width = 2, .height = 1, .bit_count = 8, .compression = 1};
    s.colours = RleColours();
    s.pixels = {1, 1, 1, 3, 0, 1};
    for (int depth : {16, 8}) {
      raster::ScopedScreen screen({.bits_per_pixel = depth});
      auto bmp = LoadBitmap(BuildBmp(s));
      EXPECT_EQ(bmp->Image()->BitCount(), depth);
      EXPECT_EQ(PixelOf(*bmp, 0, 0), MakeRgb(255, 0, 0));
      EXPECT_EQ(PixelOf(*bmp, 1, 0), MakeRgb(0, 0, 255));
    }
  }
  {  // Compressed rows cannot run top-down; the compression must fit the depth.
    BmpSpec s{.width = 1, .height = -1, .bit_count = 8, .compression = 1};
    s.colours = RleColours();
    s.pixels = {1, 1};
    EXPECT_EQ(FailureOf([&] { LoadBitmap(BuildBmp(s)); }),
              Failure("EInvalidGraphic", strings::kInvalidBitmap));
    s.height = 1;
    s.bit_count = 4;
    s.colours.resize(16);
    EXPECT_EQ(FailureOf([&] { LoadBitmap(BuildBmp(s)); }),
              Failure("EInvalidGraphic", strings::kInvalidBitmap));
  }
}

TEST(BmpLoad, ShortFilesGapsAndColourCounts) {
  {  // Too short for its image: the missing rows are zero.
    BmpSpec s{.width = 1, .height = 3, .bit_count = 24};
    s.pixels = {9, 9, 9, 0};
    auto bmp = LoadBitmap(BuildBmp(s));
    EXPECT_EQ(PixelOf(*bmp, 0, 2), MakeRgb(9, 9, 9));
    EXPECT_EQ(PixelOf(*bmp, 0, 0), raster::kBlack);
    EXPECT_EQ(SaveBitmap(*bmp).size(), 54u + 12);
  }
  {  // A pixel offset past a gap: the pixels are found at the offset.
    BmpSpec s{.width = 1, .height = 1, .bit_count = 24};
    s.gap = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    s.pixels = {1, 2, 3, 0};
    auto bmp = LoadBitmap(BuildBmp(s));
    EXPECT_EQ(PixelOf(*bmp, 0, 0), MakeRgb(3, 2, 1));
    auto saved = SaveBitmap(*bmp);
    EXPECT_EQ(saved[10], 54);
    EXPECT_EQ(saved.size(), 58u);
  }
  {  // An offset pointing into the headers or past the end is not followed.
    BmpSpec s{.width = 1, .height = 1, .bit_count = 24};
    s.pixels = {1, 2, 3, 0};
    for (std::uint32_t offset : {0u, 20u, 58u, 0xFFFFFFFFu}) {
      auto bytes = BuildBmp(s);
      bytes[10] = static_cast<std::uint8_t>(offset);
      bytes[11] = static_cast<std::uint8_t>(offset >> 8);
      bytes[12] = static_cast<std::uint8_t>(offset >> 16);
      bytes[13] = static_cast<std::uint8_t>(offset >> 24);
      EXPECT_EQ(PixelOf(*LoadBitmap(bytes), 0, 0), MakeRgb(3, 2, 1)) << offset;
    }
  }
  {  // 8 bits with 16 colours used: 16 entries written back, pixels at 118.
    BmpSpec s{.width = 1, .height = 1, .bit_count = 8, .clr_used = 16};
    s.colours = raster::Palette::System16()->Entries();
    s.pixels = {12, 0, 0, 0};
    auto bytes = BuildBmp(s);
    auto bmp = LoadBitmap(bytes);
    EXPECT_EQ(PixelOf(*bmp, 0, 0), MakeRgb(0, 0, 255));
    auto saved = SaveBitmap(*bmp);
    EXPECT_EQ(saved[10], 118);
    EXPECT_EQ(saved, bytes);
  }
  {  // 24 bits with an optional table of 16 colours: kept after the header.
    BmpSpec s{.width = 1, .height = 1, .bit_count = 24, .clr_used = 16};
    s.colours = raster::Palette::System16()->Entries();
    s.pixels = {1, 2, 3, 0};
    auto bytes = BuildBmp(s);
    auto bmp = LoadBitmap(bytes);
    ASSERT_NE(bmp->Palette(), nullptr);
    EXPECT_EQ(bmp->Palette()->Count(), 16);
    auto saved = SaveBitmap(*bmp);
    EXPECT_EQ(saved[10], 118);
    EXPECT_EQ(saved, bytes);
  }
  {  // A huge image size field is cut to what the file holds.
    BmpSpec s{.width = 1, .height = 1, .bit_count = 24, .size_image = 0xFFFFFFF0u};
    s.pixels = {1, 2, 3, 0};
    EXPECT_EQ(PixelOf(*LoadBitmap(BuildBmp(s)), 0, 0), MakeRgb(3, 2, 1));
  }
}

TEST(BmpLoad, EmptyStreamGivesAnEmptyBitmapThatSavesNothing) {
  BmpSpec s{.width = 1, .height = 1, .bit_count = 24};
  s.pixels = {1, 2, 3, 0};
  auto bmp = LoadBitmap(BuildBmp(s));
  TSpanStream none(nullptr, 0);
  bmp->LoadFromStream(none);
  EXPECT_TRUE(bmp->Empty());
  EXPECT_EQ(bmp->Width(), 0);
  EXPECT_TRUE(SaveBitmap(*bmp).empty());
}

TEST(BmpLoad, BrokenAndHostileFilesFailAndKeepTheBitmap) {
  const std::string invalid = Failure("EInvalidGraphic", strings::kInvalidBitmap);
  const std::string too_large = Failure("EOutOfResources", strings::kPictureTooLarge);
  const std::string short_read = Failure("EReadError", strings::kReadError);
  BmpSpec good{.width = 2, .height = 1, .bit_count = 24};
  good.pixels = {1, 2, 3, 4, 5, 6, 0, 0};
  auto bmp = LoadBitmap(BuildBmp(good));

  auto expect_failure = [&](const std::vector<std::uint8_t>& bytes, const std::string& failure,
                            const char* what) {
    EXPECT_EQ(FailureOf([&] {
                TSpanStream stream(bytes.data(), bytes.size());
                bmp->LoadFromStream(stream);
              }),
              failure)
        << what;
    EXPECT_EQ(bmp->Width(), 2) << what;
    EXPECT_EQ(PixelOf(*bmp, 1, 0), MakeRgb(6, 5, 4)) << what;
  };
  auto with = [&](auto change) {
    BmpSpec s = good;
    change(s);
    return BuildBmp(s);
  };

  expect_failure(with([](BmpSpec& s) { s.type = 0x4142; }), invalid, "bad magic");
  expect_failure(with([](BmpSpec& s) { s.planes = 2; }), invalid, "planes 2");
  expect_failure(with([](BmpSpec& s) { s.planes = 0; }), invalid, "planes 0");
  expect_failure(with([](BmpSpec& s) { s.bit_count = 7; }), invalid, "7 bits");
  expect_failure(with([](BmpSpec& s) { s.bit_count = 0; }), invalid, "0 bits");
  expect_failure(with([](BmpSpec& s) { s.compression = 3; s.masks = {1, 2, 3}; }), invalid,
                 "bit fields at 24 bits");
  expect_failure(with([](BmpSpec& s) { s.compression = 4; }), invalid, "embedded JPEG");
  expect_failure(with([](BmpSpec& s) { s.width = 0; }), invalid, "width 0");
  expect_failure(with([](BmpSpec& s) { s.height = 0; }), invalid, "height 0");
  expect_failure(with([](BmpSpec& s) { s.width = -2; }), invalid, "negative width");
  expect_failure(with([](BmpSpec& s) { s.height = INT32_MIN; s.size_image = 0; }), invalid,
                 "height -2^31");
  expect_failure(with([](BmpSpec& s) {
                   s.width = INT32_MAX;
                   s.height = INT32_MAX;
                   s.bit_count = 32;
                   s.size_image = 0;
                 }),
                 too_large, "overflowing size");
  expect_failure(with([](BmpSpec& s) {
                   s.width = 20000;
                   s.height = 20000;
                   s.size_image = 0;
                 }),
                 too_large, "over the memory ceiling");
  {
    // Small files declaring huge pictures: refused as too large before any buffer of
    // their declared size is made (the ceiling lowered, so a fault allocates little).
    test::ScopedPixelCeiling ceiling(std::uint64_t{1} << 20);
    auto one_bit = [](BmpSpec& s) {
      s.bit_count = 1;
      s.colours = {raster::kBlack, raster::kWhite};
      s.size_image = 0;
      s.pixels = {0xAA, 0, 0, 0};
    };
    auto wide = with([&](BmpSpec& s) {
      one_bit(s);
      s.width = INT32_MAX;
      s.pixels.clear();
    });
    EXPECT_EQ(wide.size(), 62u);
    expect_failure(wide, too_large, "1 bit, 2^31-1 wide");
    expect_failure(with([&](BmpSpec& s) {
                     one_bit(s);
                     s.height = INT32_MAX;
                   }),
                   too_large, "1 bit, 2^31-1 high");
    expect_failure(with([](BmpSpec& s) {
                     s.width = 65535;
                     s.height = 65535;
                     s.bit_count = 8;
                     s.compression = 1;
                     s.clr_used = 2;
                     s.colours = Grays(2);
                     s.pixels = {0, 1};
                   }),
                   too_large, "RLE8, 65535 square");
    // Just under the ceiling, a wide 1-bit picture loads and becomes a clipboard bitmap
    // with its pixels, converted a piece of a row at a time.
    auto under = with([&](BmpSpec& s) {
      one_bit(s);
      s.colours = {raster::kWhite, raster::kBlack};  // the reverse of a monochrome bitmap's
      s.width = 8 << 20;
    });
    TBitmap loaded;
    TSpanStream in(under.data(), under.size());
    loaded.LoadFromStream(in);
    std::uint16_t format = 0;
    ClipboardData data;
    loaded.SaveToClipboardFormat(format, data);
    ASSERT_NE(data.image, nullptr);
    EXPECT_EQ(data.image->BitCount(), 1);
    EXPECT_EQ(data.image->Pixel(0, 0), raster::kBlack);
    EXPECT_EQ(data.image->Pixel(1, 0), raster::kWhite);
    EXPECT_EQ(data.image->Pixel((8 << 20) - 1, 0), raster::kWhite) << "past the file's bytes";
  }
  expect_failure(with([](BmpSpec& s) { s.bit_count = 8; s.clr_used = 257; }), invalid,
                 "257 colours");
  expect_failure(with([](BmpSpec& s) { s.clr_used = 0xFFFFFFFF; }), invalid,
                 "4 billion colours");
  for (std::uint32_t size : {0u, 4u, 11u, 13u, 20u, 39u}) {
    expect_failure(with([&](BmpSpec& s) { s.header_size = size; }), invalid, "header size");
  }
  expect_failure(with([](BmpSpec& s) { s.header_size = 0xFFFFFFFF; }), short_read,
                 "header larger than the file");

  auto bytes = BuildBmp(good);
  expect_failure(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 10), short_read,
                 "inside the file header");
  expect_failure(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 30), short_read,
                 "inside the info header");
  auto masks_cut = with([](BmpSpec& s) {
    s.bit_count = 16;
    s.compression = 3;
    s.masks = {0xF800};
    s.pixels.clear();
  });
  expect_failure(masks_cut, short_read, "masks cut short");
  auto table_cut = with([](BmpSpec& s) {
    s.bit_count = 8;
    s.clr_used = 16;
    s.colours = Grays(5);
    s.pixels.clear();
  });
  expect_failure(table_cut, short_read, "colour table cut short");
  // A header the reader cannot take is refused before anything after it is read, so
  // files that end with that header fail as broken, not as cut short.
  auto header_only = [&](auto change) {
    return with([&](BmpSpec& s) {
      s.clr_used = 16;
      s.pixels.clear();
      change(s);
    });
  };
  expect_failure(header_only([](BmpSpec& s) { s.bit_count = 7; }), invalid,
                 "7 bits, nothing after the header");
  expect_failure(header_only([](BmpSpec& s) { s.compression = 1; s.bit_count = 4; }), invalid,
                 "RLE8 at 4 bits, nothing after the header");
  expect_failure(header_only([](BmpSpec& s) {
                   s.compression = 2;
                   s.bit_count = 4;
                   s.height = -1;
                 }),
                 invalid, "top-down RLE4, nothing after the header");
}

TEST(BmpLoad, CorruptedFilesLoadOrFailWithTheProgramsErrors) {
  // Every byte of a few small files set to 0, 0x80 and 0xFF, and every truncation: each
  // load either succeeds, and then saves and loads again, or fails with an error of ours.
  test::ScopedPixelCeiling ceiling(std::uint64_t{4} << 20);
  std::vector<std::vector<std::uint8_t>> files;
  {
    BmpSpec s{.width = 3, .height = 2, .bit_count = 4, .clr_used = 16};
    s.colours = raster::Palette::System16()->Entries();
    s.pixels = {0x12, 0x30, 0, 0, 0x45, 0x60, 0, 0};
    files.push_back(BuildBmp(s));
  }
  {
    BmpSpec s{.width = 4, .height = 2, .bit_count = 8, .compression = 1, .clr_used = 4};
    s.colours = RleColours();
    s.colours.resize(4);
    s.pixels = {2, 1, 2, 2, 0, 0, 0, 3, 3, 1, 2, 0, 0, 2, 1, 0, 0, 1};
    files.push_back(BuildBmp(s));
  }
  {
    BmpSpec s{.width = 2, .height = -1, .bit_count = 16, .compression = 3};
    s.masks = {0xF800, 0x07E0, 0x001F};
    s.pixels = {1, 2, 3, 4};
    files.push_back(BuildBmp(s));
  }
  // Widths at the limits: the largest a header can declare, and one whose 1-bit rows just
  // fit the ceiling.
  for (std::int32_t width : {INT32_MAX, (4 << 23) - 1}) {
    BmpSpec s{.width = width, .height = 1, .bit_count = 1};
    s.colours = {raster::kWhite, raster::kBlack};
    s.pixels = {0x5A, 0, 0, 0};
    files.push_back(BuildBmp(s));
  }
  auto try_load = [](const std::vector<std::uint8_t>& bytes) {
    TBitmap bmp;
    std::string failure = FailureOf([&] {
      TSpanStream in(bytes.data(), bytes.size());
      bmp.LoadFromStream(in);
    });
    if (failure != "ok") return;
    auto saved = SaveBitmap(bmp);
    auto again = LoadBitmap(saved);
    EXPECT_EQ(again->Width(), bmp.Width());
    EXPECT_EQ(again->Height(), bmp.Height());
  };
  for (const auto& file : files) {
    for (std::size_t length = 0; length < file.size(); ++length) {
      try_load(std::vector<std::uint8_t>(file.begin(), file.begin() + length));
    }
    for (std::size_t i = 0; i < file.size(); ++i) {
      for (std::uint8_t value : {0x00, 0x80, 0xFF}) {
        auto bytes = file;
        bytes[i] = value;
        try_load(bytes);
      }
    }
  }
}

}  // namespace
}  // namespace pelmora
