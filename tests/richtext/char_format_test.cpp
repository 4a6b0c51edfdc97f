#include "richtext/char_format.h"

#include <gtest/gtest.h>

#include <vector>

namespace pelmora {
namespace {

std::vector<int> looked_up;
std::uint32_t FakeSystemColor(int index) {
  looked_up.push_back(index);
  return 0x00010000u * static_cast<std::uint32_t>(index) + 0x42u;
}

TEST(CharFormatChange, ColorRule) {
  looked_up.clear();
  {
    const CharFormatChange auto_color = ColorChange(clWindowText, FakeSystemColor);
    EXPECT_EQ(auto_color.mask, kMaskColor);
    EXPECT_EQ(auto_color.effects, kEffectAutoColor);
    EXPECT_TRUE(looked_up.empty()) << "automatic colour needs no RGB value";
  }
  {
    const CharFormatChange window = ColorChange(clWindow, FakeSystemColor);
    EXPECT_EQ(window.effects, 0u);
    EXPECT_EQ(window.text_color, 0x00050042u);
    EXPECT_EQ(ColorChange(0x8000000Fu, FakeSystemColor).text_color, 0x000F0042u);
    EXPECT_EQ(looked_up, (std::vector<int>{5, 15}));
  }
  {
    const CharFormatChange rgb = ColorChange(0x00123456u, FakeSystemColor);
    EXPECT_EQ(rgb.mask, kMaskColor);
    EXPECT_EQ(rgb.effects, 0u);
    EXPECT_EQ(rgb.text_color, 0x00123456u);
    EXPECT_EQ(looked_up.size(), 2u);
  }
  EXPECT_EQ(ColorToRGB(clWindow, FakeSystemColor), 0x00050042u);
  EXPECT_EQ(ColorToRGB(0x000000FFu, FakeSystemColor), 0x000000FFu);
}

TEST(CharFormatChange, SizeAndStyle) {
  EXPECT_EQ(SizeChange(10).mask, kMaskSize);
  EXPECT_EQ(SizeChange(10).height_twips, 200);
  EXPECT_EQ(SizeChange(1).height_twips, 20);
  EXPECT_EQ(SizeChange(2000000000).height_twips, 2147483647);
  EXPECT_EQ(SizeChange(-2000000000).height_twips, -2147483647);

  EXPECT_EQ(StyleChange(0).mask, kMaskStyle);
  EXPECT_EQ(StyleChange(0).effects, 0u);
  EXPECT_EQ(StyleChange(fsBold | fsItalic | fsUnderline | fsStrikeOut).effects, 0xFu);
  EXPECT_EQ(StyleChange(fsBold | fsStrikeOut).effects, 9u);
  EXPECT_EQ(StyleChange(0xF0).effects, 0u);
}

}  // namespace
}  // namespace pelmora
