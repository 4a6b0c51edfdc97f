// The JPEG code as the Windows build runs it: the MinGW libjpeg-turbo build, and libjpeg's
// fatal-error exit leaving libjpeg's frames by longjmp, many times over.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/errors.h"
#include "base/format.h"
#include "base/strings.h"
#include "picture/bitmap.h"
#include "picture/jpeg_codec.h"
#include "picture/jpeg_image.h"

#include <jerror.h>

namespace pelmora {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::unique_ptr<TBitmap> MakeBitmap(int width, int height) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(TPixelFormat::Bit24);
  bitmap->SetWidth(width);
  bitmap->SetHeight(height);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = bitmap->ScanLine(y);
    for (int x = 0; x < width; ++x) {
      row[3 * x] = static_cast<std::uint8_t>(y * 4);
      row[3 * x + 1] = 90;
      row[3 * x + 2] = static_cast<std::uint8_t>(x * 4);
    }
  }
  return bitmap;
}

Bytes Save(TGraphic& graphic) {
  TMemoryStream stream;
  graphic.SaveToStream(stream);
  return stream.Bytes();
}

TEST(JpegOnWindows, EncodesAndDecodesWithTheMinGWLibrary) {
  auto bitmap = MakeBitmap(48, 40);
  TJPEGImage writer;
  writer.Assign(bitmap.get());
  const Bytes file = Save(writer);
  ASSERT_GT(file.size(), 20u);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 4), (Bytes{0xFF, 0xD8, 0xFF, 0xE0}));

  TJPEGImage reader;
  TMemoryStream stream(file);
  reader.LoadFromStream(stream);
  EXPECT_EQ(reader.Width(), 48);
  TBitmap& decoded = reader.Bitmap();
  ASSERT_EQ(decoded.PixelFormat(), TPixelFormat::Bit24);
  const std::uint8_t* p = decoded.ScanLine(20) + 3 * 24;
  EXPECT_NEAR(p[0], 80, 12);
  EXPECT_NEAR(p[1], 90, 12);
  EXPECT_NEAR(p[2], 96, 12);
}

TEST(JpegOnWindows, LeavesLibjpegByLongjmpAgainAndAgain) {
  const Bytes not_jpeg = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0};
  const std::string expected = Format(strings::kJpegError, {std::int64_t{JERR_NO_SOI}});
  for (int i = 0; i < 2000; ++i) {
    try {
      jpeg::ReadHeaderSize(not_jpeg.data(), not_jpeg.size());
      FAIL() << "no error";
    } catch (const EJPEG& e) {
      ASSERT_EQ(e.Message(), expected);
    }
  }
  // Failing halfway through encoding, and in the middle of decoding rows.
  auto wide = std::make_unique<TBitmap>();
  wide->SetPixelFormat(TPixelFormat::Bit24);
  wide->SetWidth(65501);
  wide->SetHeight(1);
  TJPEGImage too_wide;
  too_wide.Assign(wide.get());
  EXPECT_THROW(Save(too_wide), EJPEG);

  auto bitmap = MakeBitmap(64, 64);
  TJPEGImage writer;
  writer.Assign(bitmap.get());
  Bytes file = Save(writer);
  std::size_t data = 0;  // the first byte of entropy-coded data
  for (std::size_t i = 0; i + 1 < file.size() && data == 0; ++i) {
    if (file[i] == 0xFF && file[i + 1] == 0xDA) data = i + 2 + (file[i + 2] << 8 | file[i + 3]);
  }
  ASSERT_GT(data, 0u);
  file[data + 40] = 0xFF;
  file[data + 41] = 0x99;  // a marker libjpeg does not know
  for (int i = 0; i < 200; ++i) {
    TJPEGImage reader;
    TMemoryStream stream(file);
    reader.LoadFromStream(stream);
    EXPECT_THROW(reader.Bitmap(), EJPEG);
    EXPECT_EQ(reader.Bitmap().Height(), 64);
  }
}

}  // namespace
}  // namespace pelmora
