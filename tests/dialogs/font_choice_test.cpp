#include "dialogs/font_choice.h"

#include <gtest/gtest.h>

#include <functional>

#include "dialogs/dialog_position.h"

namespace pelmora {
namespace {

FontDialogAnswer AnswerFor(const TFont& font) {
  FontDialogAnswer answer;
  answer.face = font.name;
  answer.height = font.height;
  answer.weight = font.Weight();
  answer.charset = font.charset;
  answer.color = 0xFFFFFFFFu;  // what a dialog with no colour selected reads back
  return answer;
}

TEST(FontChoiceTest, InitialFontAndItsSize) {
  const TFont font = InitialDialogFont();
  EXPECT_EQ(font.name, "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E");
  EXPECT_EQ(font.height, -12);
  EXPECT_EQ(font.charset, 128);
  EXPECT_EQ(font.color, 0x80000008u);
  EXPECT_EQ(font.style, 0);
  EXPECT_EQ(font.Size(96), 9);
  EXPECT_EQ(font.Size(120), 7);  // 7.2 rounds to the nearest point
  TFont tall = font;
  tall.height = 20;  // a cell height counts the same way
  EXPECT_EQ(tall.Size(96), -15);
}

// The font after a dialog showing it is confirmed with the answer changed by change.
TFont Answered(TFont font, const std::function<void(FontDialogAnswer&)>& change) {
  FontDialogAnswer answer = AnswerFor(font);
  change(answer);
  ApplyFontDialogAnswer(font, answer);
  return font;
}

TEST(FontChoiceTest, AnswerTakesFaceHeightStyleAndOnlyChosenColourAndCharset) {
  {
    // Confirmed untouched: the window-text code and the character set stay.
    const TFont font = Answered(InitialDialogFont(), [](FontDialogAnswer& a) { a.charset = 0; });
    EXPECT_EQ(font.color, 0x80000008u);
    EXPECT_EQ(font.charset, 128);
  }
  {
    // Same face in other letter case: not a change of face.
    TFont arial;
    arial.name = "Arial";
    arial.charset = 0;
    const TFont font = Answered(arial, [](FontDialogAnswer& a) {
      a.face = "ARIAL";
      a.charset = 2;
    });
    EXPECT_EQ(font.name, "ARIAL");
    EXPECT_EQ(font.charset, 0);
  }
  {
    // Another face brings the dialog's character set, the script list untouched.
    const TFont font = Answered(InitialDialogFont(), [](FontDialogAnswer& a) {
      a.face = "Arial";
      a.charset = 0;
    });
    EXPECT_EQ(font.name, "Arial");
    EXPECT_EQ(font.charset, 0);
    EXPECT_EQ(font.color, 0x80000008u);
  }
  {
    // Chosen colour and script; style from weight and the three flags.
    TFont font = InitialDialogFont();
    FontDialogAnswer answer = AnswerFor(font);
    answer.height = -16;
    answer.weight = 401;
    answer.italic = true;
    answer.strike_out = true;
    answer.color = 0x0000FF;
    answer.color_chosen = true;
    answer.charset = 0;
    answer.charset_chosen = true;
    ApplyFontDialogAnswer(font, answer);
    EXPECT_EQ(font.height, -16);
    EXPECT_EQ(font.style, fsBold | fsItalic | fsStrikeOut);
    EXPECT_EQ(font.color, 0x0000FFu);
    EXPECT_EQ(font.charset, 0);
    answer.weight = 400;
    answer.italic = answer.strike_out = false;
    answer.underline = true;
    ApplyFontDialogAnswer(font, answer);
    EXPECT_EQ(font.style, fsUnderline);
  }
}

TEST(DialogPositionTest, CentredAcrossAndDownByHalfOrAThird) {
  constexpr VerticalPlace kThird = VerticalPlace::UpperThird;
  constexpr VerticalPlace kMiddle = VerticalPlace::Middle;
  EXPECT_EQ(CentredDialogOrigin(0, 0, 1280, 1024, 480, 300, kThird), (DialogOrigin{400, 241}));
  EXPECT_EQ(CentredDialogOrigin(0, 0, 1280, 1024, 480, 300, kMiddle), (DialogOrigin{400, 362}));
  // A second monitor to the left, and odd remainders truncated.
  EXPECT_EQ(CentredDialogOrigin(-1920, 100, 1920, 1080, 481, 301, kThird),
            (DialogOrigin{-1201, 359}));
  EXPECT_EQ(CentredDialogOrigin(-1920, 100, 1920, 1080, 481, 301, kMiddle),
            (DialogOrigin{-1201, 489}));
  // Larger than the monitor: toward zero, not down.
  EXPECT_EQ(CentredDialogOrigin(0, 0, 800, 600, 803, 604, kThird), (DialogOrigin{-1, -1}));
  EXPECT_EQ(CentredDialogOrigin(0, 0, 800, 600, 803, 605, kMiddle), (DialogOrigin{-1, -2}));
}

}  // namespace
}  // namespace pelmora
