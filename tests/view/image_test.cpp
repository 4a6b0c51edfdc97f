#include "view/image.h"

#include <gtest/gtest.h>

#include <vector>

#include "picture/bitmap.h"

namespace pelmora {
namespace {

struct ImageFixture : ::testing::Test {
  TImage image;
  std::vector<TRect> invalidated;

  void SetUp() override {
    image.SetOnInvalidate([this](const TRect& r) { invalidated.push_back(r); });
  }

  void LoadBitmap(int width, int height) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::Bit24);
    bitmap.SetWidth(width);
    bitmap.SetHeight(height);
    image.Picture().Assign(&bitmap);
  }
};

TEST_F(ImageFixture, StartsAsTheMainWindowDesignsIt) {
  EXPECT_EQ(image.BoundsRect(), (TRect{6, 6, 16, 16}));
  EXPECT_FALSE(image.Visible());
  EXPECT_TRUE(image.Proportional());
  EXPECT_FALSE(image.AutoSize() || image.Stretch() || image.Transparent());
}

TEST_F(ImageFixture, AutoSizeTakesThePicturesSizeForEveryChangeOfBounds) {
  image.SetAutoSize(true);  // empty picture: the view collapses to 0 x 0
  EXPECT_EQ(image.BoundsRect(), (TRect{6, 6, 6, 6}));

  LoadBitmap(30, 20);
  EXPECT_EQ(image.BoundsRect(), (TRect{6, 6, 36, 26}));
  image.SetBounds(40, 6, 500, 400);
  EXPECT_EQ(image.BoundsRect(), (TRect{40, 6, 70, 26}));

  image.SetAutoSize(false);
  EXPECT_EQ(image.BoundsRect(), (TRect{40, 6, 70, 26}));
  image.SetBounds(1, 2, 300, 200);
  EXPECT_EQ(image.BoundsRect(), (TRect{1, 2, 301, 202}));
}

TEST_F(ImageFixture, ChangesOfBoundsRepaintOldAndNewPlaceOnlyWhenSomethingChanged) {
  image.SetBounds(6, 6, 10, 10);
  EXPECT_TRUE(invalidated.empty());
  image.SetBounds(0, 0, 5, 5);
  ASSERT_EQ(invalidated.size(), 2u);
  EXPECT_EQ(invalidated[0], (TRect{6, 6, 16, 16}));
  EXPECT_EQ(invalidated[1], (TRect{0, 0, 5, 5}));

  invalidated.clear();
  image.SetStretch(false);  // already off
  image.SetVisible(false);  // already hidden
  EXPECT_TRUE(invalidated.empty());
  image.SetStretch(true);
  image.SetVisible(true);
  EXPECT_EQ(invalidated.size(), 2u);
}

TEST_F(ImageFixture, OpaqueMarkFollowsPictureChangesNotBounds) {
  image.SetBounds(0, 0, 40, 30);
  EXPECT_FALSE(image.Opaque());  // no graphic

  LoadBitmap(40, 30);  // covers the view exactly
  EXPECT_TRUE(image.Opaque());

  // A larger view is not covered, but the mark is recomputed only on picture changes.
  image.SetBounds(0, 0, 400, 300);
  EXPECT_TRUE(image.Opaque());
  image.SetStretch(true);  // stretched proportionally: 400 x 300 covers it
  EXPECT_TRUE(image.Opaque());
  image.SetBounds(0, 0, 400, 400);
  EXPECT_TRUE(image.Opaque());
  image.SetProportional(false);  // stretched whole into the square view
  EXPECT_TRUE(image.Opaque());
  image.SetProportional(true);  // 400 x 300 at the top leaves a band below
  EXPECT_FALSE(image.Opaque());
}

}  // namespace
}  // namespace pelmora
