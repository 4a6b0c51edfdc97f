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

TEST(ClipboardFit, ScalesByThePanelsProportionsWhileThePictureFits) {
  // Wide panel: the heights decide. 231 / 800 * 0.96 = 0.2772 as a float.
  ExpectFit(FitPictureToPanel(424, 231, 1000, 800), 73, 5, 277, 221, true);
  // Tall panel: the widths decide. 0.48 as a float is just below it: 191 x 143, not 192 x 144.
  ExpectFit(FitPictureToPanel(200, 400, 400, 300), 4, 128, 191, 143, true);
}

TEST(ClipboardFit, APictureTheFirstScaleWouldOverflowIsScaledByTheOtherSide) {
  // By the heights a wide strip would be 4435 wide; by the widths it lies inside.
  ExpectFit(FitPictureToPanel(424, 231, 2000, 100), 8, 105, 407, 20, true);
  ExpectFit(FitPictureToPanel(231, 424, 100, 2000), 105, 8, 20, 407, true);
  // The tall strip in the wide panel fits by the heights already.
  ExpectFit(FitPictureToPanel(424, 231, 100, 2000), 206, 5, 11, 221, true);
}

TEST(ClipboardFit, SmallPicturesAreCentredUnscaledAndTheTestsAreStrict) {
  ExpectFit(FitPictureToPanel(424, 231, 100, 51), 162, 90, 100, 51, false);
  // Exactly as wide as the panel: scaled, not centred at its own size.
  ExpectFit(FitPictureToPanel(424, 231, 424, 100), 8, 68, 407, 95, true);
  // Centring truncates toward zero.
  ExpectFit(FitPictureToPanel(10, 10, 3, 4), 3, 3, 3, 4, false);
}

TEST(ClipboardFit, DegenerateSizesNeverDivideByZeroOrOverflow) {
  // An empty bitmap on a panel squeezed to nothing (a minimised window).
  ExpectFit(FitPictureToPanel(0, 0, 0, 0), 0, 0, 0, 0, false);
  ExpectFit(FitPictureToPanel(0, 0, 640, 480), 0, 0, 0, 0, true);
  // A one-pixel-high strip whose first scale runs past the int range still ends inside.
  ClipboardFit fit = FitPictureToPanel(6000, 5000, 100000000, 1);
  EXPECT_GT(fit.width, 5700);
  EXPECT_LE(fit.width, 6000);
  EXPECT_EQ(fit.height, 0);
  EXPECT_GE(fit.left, 0);
}

TEST(ClipboardKind, FirstAvailableFormatWinsAndLaterOnesAreNotAsked) {
  using enum ClipboardKind;
  constexpr std::uint16_t kPicture = 0xC101, kComponent = 0xC102, kWithheld = 0xC103,
                          kPng = 0xC104;
  auto classify = [&](std::set<std::uint16_t> present, std::vector<std::uint16_t>* asked) {
    return ClassifyClipboard(
        [&](std::uint16_t f) {
          asked->push_back(f);
          return present.count(f) > 0;
        },
        ClassifiedFormats{kPicture, kComponent, kWithheld, kPng});
  };
  std::vector<std::uint16_t> asked;
  // Withheld content is withheld whatever else the clipboard holds, and nothing more is asked.
  EXPECT_EQ(classify({kWithheld, 1, 2}, &asked), Withheld);
  EXPECT_EQ(asked, (std::vector<std::uint16_t>{kWithheld}));
  asked.clear();
  EXPECT_EQ(classify({1, 2}, &asked), Text);
  EXPECT_EQ(asked, (std::vector<std::uint16_t>{kWithheld, 1}));
  asked.clear();
  EXPECT_EQ(classify({2, 3}, &asked), Bitmap);
  EXPECT_EQ(classify({kPng, 3}, &asked), Bitmap);  // a picture placed only as "PNG"
  EXPECT_EQ(classify({3, kPicture}, &asked), Metafile);
  asked.clear();
  EXPECT_EQ(classify({kPicture, kComponent}, &asked), Picture);
  EXPECT_EQ(asked, (std::vector<std::uint16_t>{kWithheld, 1, 2, kPng, 3, kPicture}));
  EXPECT_EQ(classify({kComponent}, &asked), Component);
  asked.clear();
  EXPECT_EQ(classify({}, &asked), Nothing);
  EXPECT_EQ(asked.size(), 7u);
}

TEST(ClipboardKind, MenuAndCaptionFollowWhatIsShown) {
  using enum ClipboardKind;
  struct Row {
    ClipboardKind kind;
    ClipboardMenuState menu;
    const char* caption;
  };
  // Content the view does not show offers nothing to copy, restyle or save.
  const Row rows[] = {
      {Text, {true, true, true, true, true}, "No Data"},
      {Bitmap, {false, false, false, true, true}, "No Data"},
      {Picture, {false, false, false, true, true}, "No Data"},
      {Metafile, {false, false, false, false, false}, "No Data"},
      {Component, {false, false, false, false, false}, "No Data"},
      {Nothing, {false, false, false, false, false}, "No Data"},
      {Withheld, {false, false, false, false, false}, "Protected Data"},
  };
  for (const Row& row : rows) {
    const ClipboardMenuState s = MenuStateFor(row.kind);
    const int kind = static_cast<int>(row.kind);
    EXPECT_EQ((std::vector<bool>{s.restyle, s.restyle_separator, s.copy, s.save_separator,
                                 s.save}),
              (std::vector<bool>{row.menu.restyle, row.menu.restyle_separator, row.menu.copy,
                                 row.menu.save_separator, row.menu.save}))
        << kind;
    EXPECT_STREQ(PanelCaptionFor(row.kind), row.caption) << kind;
  }
}

}  // namespace
}  // namespace pelmora
