#include "view/picture_rect.h"

#include <gtest/gtest.h>

namespace pelmora {
namespace {

TRect Rect(int w, int h, int cw, int ch, bool stretch, bool proportional = true,
           bool center = false) {
  return PictureRect({w, h, cw, ch, stretch, proportional, center});
}

TEST(PictureRect, ProportionalShrinksOnlyLargerPictures) {
  // Wider than the view: the width fills it, the height follows.
  EXPECT_EQ(Rect(300, 100, 150, 150, false), (TRect{0, 0, 150, 50}));
  // One third held as a 64-bit float is just below 1/3; in extended precision
  // 150 * a = 49.99..., so the width is 49, not 50.
  EXPECT_EQ(Rect(100, 300, 150, 150, false), (TRect{0, 0, 49, 150}));
  // Smaller than the view: drawn at its own size, never enlarged.
  EXPECT_EQ(Rect(100, 100, 150, 150, false), (TRect{0, 0, 100, 100}));
  // Taller fit overflowing the width falls back to the width.
  EXPECT_EQ(Rect(90, 100, 50, 200, false), (TRect{0, 0, 50, 55}));
}

TEST(PictureRect, StretchFillsTheViewKeepingProportions) {
  EXPECT_EQ(Rect(3, 2, 10, 10, true), (TRect{0, 0, 10, 6}));
  EXPECT_EQ(Rect(1000, 800, 277, 221, true), (TRect{0, 0, 277, 221}));
  // Square pictures take the height first.
  EXPECT_EQ(Rect(5, 5, 20, 10, true), (TRect{0, 0, 10, 10}));
  // Without proportions the view is filled exactly.
  EXPECT_EQ(Rect(3, 2, 10, 10, true, false), (TRect{0, 0, 10, 10}));
  // An empty picture stretched fills the view, with no ratio to keep.
  EXPECT_EQ(Rect(0, 0, 10, 10, true), (TRect{0, 0, 10, 10}));
}

TEST(PictureRect, CenterMovesByHalfTheSpareRoomTruncated) {
  EXPECT_EQ(Rect(3, 2, 10, 10, true, true, true), (TRect{0, 2, 10, 8}));
  EXPECT_EQ(Rect(5, 5, 10, 10, false, true, true), (TRect{2, 2, 7, 7}));
  // Larger than the view without proportions: a negative offset, cut toward zero.
  EXPECT_EQ(Rect(15, 15, 10, 10, false, false, true), (TRect{-2, -2, 13, 13}));
}

}  // namespace
}  // namespace pelmora
