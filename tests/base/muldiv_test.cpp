#include "base/muldiv.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace pelmora {
namespace {

TEST(MulDiv, RoundsToNearestWithHalvesAwayFromZero) {
  EXPECT_EQ(MulDiv(1, 1, 2), 1);     // 0.5
  EXPECT_EQ(MulDiv(1, 1, 3), 0);     // 0.33
  EXPECT_EQ(MulDiv(2, 1, 3), 1);     // 0.67
  EXPECT_EQ(MulDiv(10, 15, 8), 19);  // 18.75
  EXPECT_EQ(MulDiv(5, 1, 2), 3);     // 2.5

  EXPECT_EQ(MulDiv(-1, 1, 2), -1);  // -0.5
  EXPECT_EQ(MulDiv(1, -5, 2), -3);  // -2.5
  EXPECT_EQ(MulDiv(5, 1, -2), -3);
  EXPECT_EQ(MulDiv(-5, -1, -2), -3);
  EXPECT_EQ(MulDiv(-7, 1, 3), -2);  // -2.33
  EXPECT_EQ(MulDiv(0, -3, 7), 0);
}

TEST(MulDiv, WideProductAndFailures) {
  // The product passes 32 bits; the quotient does not.
  EXPECT_EQ(MulDiv(1'000'000, 1'000'000, 1'000'000), 1'000'000);
  EXPECT_EQ(MulDiv(INT32_MAX, INT32_MAX, INT32_MAX), INT32_MAX);
  EXPECT_EQ(MulDiv(INT32_MIN, 1, -1), -1);  // 2147483648 does not fit
  EXPECT_EQ(MulDiv(INT32_MIN, 1, 1), -1);   // nor does its negative counterpart
  EXPECT_EQ(MulDiv(INT32_MAX, 2, 1), -1);
  EXPECT_EQ(MulDiv(5, 3, 0), -1);
}

TEST(TruncSaturated, TruncatesTowardZeroAndSaturatesOutsideTheViewRange) {
  EXPECT_EQ(TruncSaturated(49.999L), 49);
  EXPECT_EQ(TruncSaturated(-49.999L), -49);
  // 150 x (100 / 300.0) lies just under 50 in extended precision.
  EXPECT_EQ(TruncSaturated(150 * static_cast<long double>(100.0 / 300)), 49);
  EXPECT_EQ(TruncSaturated(1e12L), 1 << 30);
  EXPECT_EQ(TruncSaturated(-1e12L), -(1 << 30));
}

TEST(FontPointSize, FromPixelHeight) {
  EXPECT_EQ(FontPointSize(-16, 96), 12);
  EXPECT_EQ(FontPointSize(-15, 96), 11);   // 11.25
  EXPECT_EQ(FontPointSize(-13, 96), 10);   // 9.75
  EXPECT_EQ(FontPointSize(-14, 96), 11);   // 10.5 rounds away from zero
  EXPECT_EQ(FontPointSize(-20, 120), 12);
  EXPECT_EQ(FontPointSize(16, 96), -12);   // cell height gives a negative size
}

}  // namespace
}  // namespace pelmora
