// The PNG image kind: saving and loading pixels with their alpha, the limits on what a file
// may make the program take, and the kind's place among the graphics.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/format.h"
#include "base/strings.h"
#include "picture/bitmap.h"
#include "picture/bitmap_test_support.h"
#include "picture/jpeg_image.h"
#include "picture/png_builder.h"
#include "picture/png_codec.h"
#include "picture/png_image.h"

#include <spng.h>
#include <zlib.h>

namespace pelmora {
namespace {

std::string PngError(int code) { return test::Failure("EPNG", Format(strings::kPngError, {std::int64_t{code}}).c_str()); }

std::vector<std::uint8_t> SavePng(const TBitmap& bitmap) {
  TPngImage png;
  png.Assign(&bitmap);
  TMemoryStream file;
  png.SaveToStream(file);
  return file.Bytes();
}

std::unique_ptr<TPngImage> LoadPng(const std::vector<std::uint8_t>& bytes) {
  auto png = std::make_unique<TPngImage>();
  TSpanStream stream(bytes.data(), bytes.size());
  png->LoadFromStream(stream);
  return png;
}

using test::RowsOf;

TEST(PngImage, SavedPicturesLoadBackWithTheSamePixelsAndAlpha) {
  // With transparency: every alpha from 0 to 255 against varying colours.
  raster::InfoHeader header{40, 256, 3, 1, 32};
  auto image = raster::Image::MakeSection(header);
  for (int y = 0; y < 3; ++y) {
    std::uint8_t* row = image->Row(y);
    for (int x = 0; x < 256; ++x) {
      const std::uint8_t p[4] = {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y * 90),
                                 static_cast<std::uint8_t>(255 - x), static_cast<std::uint8_t>(x)};
      std::memcpy(row + 4 * x, p, 4);
    }
  }
  image->SetAlpha(true);
  TBitmap alpha;
  alpha.AdoptImage(image);
  auto loaded = LoadPng(SavePng(alpha));
  EXPECT_TRUE(loaded->Bitmap().HasAlpha());
  EXPECT_EQ(RowsOf(loaded->Bitmap()), RowsOf(alpha));

  // Without: a 24-bit picture stays 24 bits; other forms are saved through their colours.
  auto opaque = test::Bitmap24(5, 4);
  opaque->ScanLine(2)[4] = 77;
  loaded = LoadPng(SavePng(*opaque));
  EXPECT_FALSE(loaded->Bitmap().HasAlpha());
  EXPECT_EQ(RowsOf(loaded->Bitmap()), RowsOf(*opaque));
  opaque->SetPixelFormat(TPixelFormat::Bit8);
  const raster::Rgb colour = test::PixelOf(*opaque, 1, 2);
  EXPECT_EQ(test::PixelOf(LoadPng(SavePng(*opaque))->Bitmap(), 1, 2), colour);

  // A loaded file is saved back byte for byte.
  const std::vector<std::uint8_t> file = SavePng(alpha);
  TMemoryStream again;
  LoadPng(file)->SaveToStream(again);
  EXPECT_EQ(again.Bytes(), file);
}

// The filter type of each row of a PNG file: its image data inflated, one byte a row.
std::vector<int> RowFilters(const std::vector<std::uint8_t>& file, std::size_t row_bytes) {
  std::vector<std::uint8_t> deflated;
  for (std::size_t at = 8; at + 12 <= file.size();) {
    const std::size_t length = std::size_t{file[at]} << 24 | std::size_t{file[at + 1]} << 16 |
                               std::size_t{file[at + 2]} << 8 | file[at + 3];
    if (std::memcmp(&file[at + 4], "IDAT", 4) == 0) {
      deflated.insert(deflated.end(), &file[at + 8], &file[at + 8] + length);
    }
    at += 12 + length;
  }
  std::vector<std::uint8_t> rows(1 << 20);
  uLongf size = static_cast<uLongf>(rows.size());
  EXPECT_EQ(uncompress(rows.data(), &size, deflated.data(), static_cast<uLong>(deflated.size())), Z_OK);
  std::vector<int> filters;
  for (std::size_t at = 0; at < size; at += row_bytes + 1) filters.push_back(rows[at]);
  return filters;
}

TEST(PngImage, FlatPicturesAreSavedUnfilteredAndPhotographsThroughPaeth) {
  // A screen capture's flat areas, and a photograph's noise: each loads back exactly.
  auto flat = test::Bitmap24(300, 40);
  auto photograph = test::Bitmap24(300, 40);
  std::uint32_t seed = 7;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 300 * 3; ++x) {
      flat->ScanLine(y)[x] = x < 450 ? 240 : 30;
      seed = seed * 1103515245u + 12345u;
      photograph->ScanLine(y)[x] = static_cast<std::uint8_t>(x / 4 + y + (seed >> 28));
    }
  }
  for (const auto& [picture, filter] : {std::pair{flat.get(), 0}, std::pair{photograph.get(), 4}}) {
    const std::vector<std::uint8_t> file = SavePng(*picture);
    EXPECT_EQ(RowFilters(file, 300 * 3), std::vector<int>(40, filter));
    EXPECT_EQ(RowsOf(LoadPng(file)->Bitmap()), RowsOf(*picture));
  }
}

TEST(PngImage, FilesCannotMakeTheProgramTakeMoreThanTheyJustify) {
  // A sound header past the pixel ceiling: refused as too large, before any pixel memory.
  auto small = test::Bitmap24(64, 64);
  const std::vector<std::uint8_t> sound = SavePng(*small);
  {
    test::ScopedPixelCeiling ceiling(64 * 64 * 3 - 1);
    EXPECT_EQ(test::FailureOf([&] { LoadPng(sound); }),
              test::Failure("EOutOfResources", strings::kPictureTooLarge));
  }
  // A picture far larger than its data could ever inflate to is cut short.
  const auto claims_huge = test::PngBuilder()
                               .Header(20000, 10000, 2)
                               .Chunk("IDAT", test::PngBuilder::Deflate({0, 1, 2, 3}))
                               .End();
  EXPECT_EQ(test::FailureOf([&] { LoadPng(claims_huge.Bytes()); }), PngError(SPNG_EIDAT_TOO_SHORT));
  // A compressed text of a few kilobytes that inflates past what a chunk may take.
  std::vector<std::uint8_t> text = {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 0};
  const std::vector<std::uint8_t> bomb =
      test::PngBuilder::Deflate(std::vector<std::uint8_t>(png::kMaxInflatedChunk + 1, 'x'));
  text.insert(text.end(), bomb.begin(), bomb.end());
  const auto text_bomb = test::PngBuilder()
                             .Header(1, 1, 2)
                             .Chunk("zTXt", text)
                             .Chunk("IDAT", test::PngBuilder::Deflate({0, 1, 2, 3}))
                             .End();
  EXPECT_LT(text_bomb.Bytes().size(), 32u * 1024);
  EXPECT_EQ(test::FailureOf([&] { LoadPng(text_bomb.Bytes()); }), PngError(SPNG_ECHUNK_LIMITS));
  // Not a PNG at all.
  std::vector<std::uint8_t> bmp(64, 0);
  bmp[0] = 'B';
  bmp[1] = 'M';
  EXPECT_EQ(test::FailureOf([&] { LoadPng(bmp); }), PngError(SPNG_ESIGNATURE));
}

TEST(PngImage, AssignedImagesShareTheBytesButNotTheBitmap) {
  auto loaded = LoadPng(SavePng(*test::Bitmap24(3, 2)));
  TPngImage png;
  png.Assign(loaded.get());
  EXPECT_EQ(&png.Bytes(), &loaded->Bytes());
  EXPECT_NE(&png.Bitmap(), &loaded->Bitmap());
  EXPECT_EQ(png.Width(), 3);
  EXPECT_EQ(test::FailureOf([&] { png.SetWidth(4); }),
            test::Failure("EInvalidGraphicOperation", strings::kPngCannotResize));
  TJPEGImage jpeg;
  EXPECT_EQ(test::FailureOf([&] { png.Assign(&jpeg); }),
            test::Failure("EConvertError", "TJPEGImage を TPngImage に代入することはできません"));
}

}  // namespace
}  // namespace pelmora
