#include <gtest/gtest.h>

#include <vector>

#include "clipboard/picture_form.h"
#include "picture/bitmap.h"

namespace pelmora {
namespace {

constexpr std::uint16_t kPng = 0xC123;
constexpr std::uint16_t kText = 1;

TEST(PictureForm, PngFirstThenWhicheverBitmapFormTheOwnerPlacedFirst) {
  const struct {
    std::vector<std::uint16_t> formats;
    PictureForm form;
  } cases[] = {
      {{kCfDib, kText, kPng}, PictureForm::Png},  // "PNG" wherever it stands
      {{kCfDibV5, kCfDib, kCfBitmap}, PictureForm::DibV5},
      {{kCfDib, kCfBitmap, kCfDibV5}, PictureForm::Dib},  // V5 and bitmap made from the DIB
      {{kText, kCfBitmap, kCfDib, kCfDibV5}, PictureForm::Bitmap},
      {{kText, 3}, PictureForm::None},
      {{}, PictureForm::None},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChoosePictureForm(c.formats, kPng), c.form) << ::testing::PrintToString(c.formats);
  }
  // Without a registered "PNG" (registration failed), format 0 never counts as it.
  const std::vector<std::uint16_t> none = {0, kCfBitmap};
  EXPECT_EQ(ChoosePictureForm(none, 0), PictureForm::Bitmap);
  EXPECT_EQ(ClipboardFormatOf(PictureForm::Png, kPng), kPng);
  EXPECT_EQ(ClipboardFormatOf(PictureForm::Dib, kPng), kCfDib);
  EXPECT_EQ(ClipboardFormatOf(PictureForm::None, kPng), 0);
}

}  // namespace
}  // namespace pelmora
