#include "dialogs/message_box_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace pelmora {
namespace {

TEST(MessageBoxLayout, MeasuresFromTheFont) {
  {
    // A 96-dpi UI font: 52 letters 364 pixels wide (X = 7), 15 pixels high.
    MessageBoxMeasures m = MeasureMessageBox({364, 15, 15});
    EXPECT_EQ(m.average_char_width, 7);
    EXPECT_EQ(m.char_height, 15);
    EXPECT_EQ(m.horizontal_margin, 14);  // 8 * 7 / 4
    EXPECT_EQ(m.vertical_margin, 15);    // 8 * 15 / 8
    EXPECT_EQ(m.vertical_spacing, 19);   // 18.75
    EXPECT_EQ(m.button_height, 26);      // 26.25
    EXPECT_EQ(m.button_width, 88);       // 87.5 rounds up, above "OK" + 8
  }
  {
    // The letters' width is cut to whole pixels before scaling: 415 / 52 = 7.98 -> 7.
    MessageBoxMeasures m = MeasureMessageBox({415, 13, 20});
    EXPECT_EQ(m.average_char_width, 7);
    EXPECT_EQ(m.vertical_margin, 13);
    EXPECT_EQ(m.vertical_spacing, 16);  // 16.25
    EXPECT_EQ(m.button_height, 23);     // 22.75
  }
  {
    // A wide "OK" caption sets the button's width.
    MessageBoxMeasures m = MeasureMessageBox({104, 8, 100});
    EXPECT_EQ(m.button_width, 108);
  }
}

TEST(MessageBoxLayout, ClientSizeAndPlaces) {
  MessageBoxMeasures m = MeasureMessageBox({364, 15, 15});
  EXPECT_EQ(MessageWrapWidth(1921), 960);
  {
    // A short message: the button sets the width; the button is centred below the text.
    MessageBoxLayout layout = LayOutMessageBox(m, 40, 15);
    EXPECT_EQ(layout.client_width, 88 + 2 * 14);
    EXPECT_EQ(layout.client_height, 15 + 26 + 19 + 2 * 15);
    EXPECT_EQ(layout.message, (MessageBoxRect{14, 15, 40, 15}));
    EXPECT_EQ(layout.button, (MessageBoxRect{14, 15 + 15 + 19, 88, 26}));
  }
  {
    // A long, wrapped message sets the width; odd room splits with the extra pixel right.
    MessageBoxLayout layout = LayOutMessageBox(m, 501, 45);
    EXPECT_EQ(layout.client_width, 529);
    EXPECT_EQ(layout.client_height, 45 + 26 + 19 + 30);
    EXPECT_EQ(layout.message, (MessageBoxRect{14, 15, 501, 45}));
    EXPECT_EQ(layout.button, (MessageBoxRect{(529 - 88) / 2, 45 + 15 + 19, 88, 26}));
  }
}

TEST(MessageBoxLayout, ClipboardText) {
  const std::string rule = "---------------------------\r\n";
  ASSERT_EQ(rule.size(), 29u);
  EXPECT_EQ(MessageBoxClipboardText("Pelmora", "ファイル書き込みエラー", {"OK"}),
            rule + "Pelmora\r\n" + rule + "ファイル書き込みエラー\r\n" + rule + "OK   \r\n" +
                rule);
  EXPECT_EQ(MessageBoxClipboardText("", "a\r\nb", {"&Yes", "N&o", "&&"}),
            rule + "\r\n" + rule + "a\r\nb\r\n" + rule + "Yes   No      \r\n" + rule);
}

}  // namespace
}  // namespace pelmora
