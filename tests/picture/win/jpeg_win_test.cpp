// The JPEG image as the Windows build runs it: the MinGW libjpeg-turbo build, and libjpeg's
// fatal-error exit leaving libjpeg's frames by longjmp, many times over.
#include <gtest/gtest.h>

#include <vector>

#include "base/errors.h"
#include "picture/bitmap.h"
#include "picture/bitmap_test_support.h"
#include "picture/jpeg_image.h"

namespace pelmora {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Save(TGraphic& graphic) {
  TMemoryStream stream;
  graphic.SaveToStream(stream);
  return stream.Bytes();
}

TEST(JpegOnWindows, CodesAndLeavesLibjpegByLongjmpAgainAndAgain) {
  auto bitmap = test::Bitmap24(64, 64);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64 * 3; ++x) bitmap->ScanLine(y)[x] = static_cast<std::uint8_t>(x + y);
  }
  TJPEGImage writer;
  writer.Assign(bitmap.get());
  Bytes file = Save(writer);
  ASSERT_GT(file.size(), 4u);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 4), (Bytes{0xFF, 0xD8, 0xFF, 0xE0}));

  std::size_t data = 0;  // the first byte of entropy-coded data
  for (std::size_t i = 0; i + 3 < file.size() && data == 0; ++i) {
    if (file[i] == 0xFF && file[i + 1] == 0xDA) data = i + 2 + (file[i + 2] << 8 | file[i + 3]);
  }
  ASSERT_GT(data, 0u);
  file[data + 40] = 0xFF;
  file[data + 41] = 0x99;  // a marker libjpeg does not know: fatal after the rows
  const Bytes not_jpeg = {'B', 'M', 0, 0, 0, 0};
  for (int i = 0; i < 500; ++i) {
    TJPEGImage reader;
    TMemoryStream bad(not_jpeg);
    ASSERT_THROW(reader.LoadFromStream(bad), EJPEG);
    TMemoryStream damaged(file);
    reader.LoadFromStream(damaged);
    ASSERT_THROW(reader.Bitmap(), EJPEG);
    ASSERT_EQ(reader.Bitmap().Height(), 64);
  }
  TJPEGImage too_wide;
  too_wide.Assign(test::Bitmap24(65501, 1).get());
  EXPECT_THROW(Save(too_wide), EJPEG);
}

}  // namespace
}  // namespace pelmora
