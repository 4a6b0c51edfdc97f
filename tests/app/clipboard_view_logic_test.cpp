#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "app/clipboard_fit.h"
#include "app/clipboard_kind.h"

namespace pelmora {
namespace {

void ExpectFit(const ClipboardFit& fit, int left, int top, int width, int height,
               bool stretch) {
  EXPECT_EQ(fit.left, left);
  EXPECT_EQ(fit.top, top);
  EXPECT_EQ(fit.width, width);
  EXPECT_EQ(fit.height, height);
  EXPECT_EQ(fit.stretch, stretch);
}

TEST(ClipboardFit, ScalesByThePanelsProportionsOnly) {
  // Wide panel: the heights decide. 231 / 800 * 0.96 = 0.2772 as a float.
  ExpectFit(FitPictureToPanel(424, 231, 1000, 800), 73, 5, 277, 221, true);
  // A wide strip is scaled by the heights too and overflows the panel on both sides.
  ExpectFit(FitPictureToPanel(424, 231, 2000, 100), -2005, 5, 4435, 221, true);
  // Tall panel: the widths decide. 0.48 as a float is just below it: 191 x 143, not 192 x 144.
  ExpectFit(FitPictureToPanel(200, 400, 400, 300), 4, 128, 191, 143, true);
}

TEST(ClipboardFit, SmallPicturesAreCentredUnscaledAndTheTestsAreStrict) {
  ExpectFit(FitPictureToPanel(424, 231, 100, 51), 162, 90, 100, 51, false);
  // Exactly as wide as the panel: scaled, not centred at its own size.
  ExpectFit(FitPictureToPanel(424, 231, 424, 100), -258, 5, 940, 221, true);
  // Centring truncates toward zero.
  ExpectFit(FitPictureToPanel(10, 10, 3, 4), 3, 3, 3, 4, false);
}

TEST(ClipboardFit, DegenerateSizesNeverDivideByZeroOrOverflow) {
  // An empty bitmap on a panel squeezed to nothing (a minimised window).
  ExpectFit(FitPictureToPanel(0, 0, 0, 0), 0, 0, 0, 0, false);
  ExpectFit(FitPictureToPanel(0, 0, 640, 480), 0, 0, 0, 0, true);
  // A one-pixel-high strip on a tall panel saturates instead of wrapping around.
  ClipboardFit fit = FitPictureToPanel(6000, 5000, 100000000, 1);
  EXPECT_EQ(fit.width, 1 << 30);
  EXPECT_EQ(fit.height, 4800);
  EXPECT_LT(fit.left, 0);
}

TEST(ClipboardKind, FirstAvailableFormatWinsAndLaterOnesAreNotAsked) {
  constexpr std::uint16_t kPicture = 0xC101, kComponent = 0xC102;
  auto classify = [&](std::set<std::uint16_t> present, std::vector<std::uint16_t>* asked) {
    return ClassifyClipboard(
        [&](std::uint16_t f) {
          asked->push_back(f);
          return present.count(f) > 0;
        },
        kPicture, kComponent);
  };
  std::vector<std::uint16_t> asked;
  EXPECT_EQ(classify({1, 2}, &asked), "TXT");
  EXPECT_EQ(asked, (std::vector<std::uint16_t>{1}));
  asked.clear();
  EXPECT_EQ(classify({2, 3}, &asked), "BIT");
  EXPECT_EQ(classify({3, kPicture}, &asked), "META");
  asked.clear();
  EXPECT_EQ(classify({kPicture, kComponent}, &asked), "PIC");
  EXPECT_EQ(asked, (std::vector<std::uint16_t>{1, 2, 3, kPicture}));
  EXPECT_EQ(classify({kComponent}, &asked), "COMPO");
  asked.clear();
  EXPECT_EQ(classify({}, &asked), "");
  EXPECT_EQ(asked.size(), 5u);
}

TEST(ClipboardKind, MenuFollowsTheKind) {
  ClipboardMenuState text = MenuStateFor("TXT");
  EXPECT_TRUE(text.edit_text && text.edit_separator && text.save_separator && text.save_as);
  EXPECT_EQ(text.copy, true);
  for (const char* kind : {"BIT", "PIC"}) {
    ClipboardMenuState s = MenuStateFor(kind);
    EXPECT_FALSE(s.edit_text || s.edit_separator) << kind;
    EXPECT_EQ(s.copy, false) << kind;
    EXPECT_TRUE(s.save_separator && s.save_as) << kind;
  }
  for (const char* kind : {"META", "COMPO", ""}) {
    ClipboardMenuState s = MenuStateFor(kind);
    EXPECT_FALSE(s.edit_text || s.edit_separator) << kind;
    EXPECT_FALSE(s.copy.has_value()) << kind;
    EXPECT_TRUE(s.save_as) << kind;
  }
}

}  // namespace
}  // namespace pelmora
