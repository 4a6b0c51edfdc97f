#include <gtest/gtest.h>

#include <vector>

#include "clipboard/picture_choice.h"
#include "picture/bitmap.h"

namespace pelmora {
namespace {

constexpr std::uint16_t kPng = 0xC123;
constexpr std::uint16_t kText = 1;

TEST(ClipboardPicture, PngFirstThenWhicheverBitmapFormTheOwnerPlacedFirst) {
  const struct {
    std::vector<std::uint16_t> formats;
    ClipboardPicture picture;
  } cases[] = {
      {{kCfDib, kText, kPng}, ClipboardPicture::Png},  // "PNG" wherever it stands
      {{kCfDibV5, kCfDib, kCfBitmap}, ClipboardPicture::DibV5},
      {{kCfDib, kCfBitmap, kCfDibV5}, ClipboardPicture::Dib},  // V5 and bitmap made from the DIB
      {{kText, kCfBitmap, kCfDib, kCfDibV5}, ClipboardPicture::Bitmap},
      {{kText, 3}, ClipboardPicture::None},
      {{}, ClipboardPicture::None},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChooseClipboardPicture(c.formats, kPng), c.picture) << ::testing::PrintToString(c.formats);
  }
  // Without a registered "PNG" (registration failed), format 0 never counts as it.
  const std::vector<std::uint16_t> none = {0, kCfBitmap};
  EXPECT_EQ(ChooseClipboardPicture(none, 0), ClipboardPicture::Bitmap);
  EXPECT_EQ(ClipboardFormatOf(ClipboardPicture::Png, kPng), kPng);
  EXPECT_EQ(ClipboardFormatOf(ClipboardPicture::Dib, kPng), kCfDib);
  EXPECT_EQ(ClipboardFormatOf(ClipboardPicture::None, kPng), 0);
}

}  // namespace
}  // namespace pelmora
