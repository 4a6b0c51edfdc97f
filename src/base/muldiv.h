#pragma once
// Scaling of screen measures in the platform's way.
#include <cstdint>
#include <limits>

namespace pelmora {

// a * b / c through a 64-bit product, rounded to the nearest whole number with halves
// away from zero; -1 when c is 0 or the result lies outside -2147483647..2147483647.
// Matches the platform's MulDiv, so measures computed here equal the shell's; the range is
// symmetric, so a result can always be negated.
constexpr std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) return -1;
  std::int64_t product = static_cast<std::int64_t>(a) * b;
  std::int64_t divisor = c;
  if (divisor < 0) {
    product = -product;
    divisor = -divisor;
  }
  std::int64_t half = divisor / 2;
  std::int64_t result = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
  if (result > std::numeric_limits<std::int32_t>::max() ||
      result < -std::numeric_limits<std::int32_t>::max()) {
    return -1;
  }
  return static_cast<std::int32_t>(result);
}

// The shell's measures are designed at 96 pixels per inch, the 100 % display scale.
inline constexpr std::int32_t kDesignedPixelsPerInch = 96;

// A designed measure at pixels_per_inch, rounded as MulDiv rounds.
constexpr std::int32_t ScaledMeasure(std::int32_t designed, std::int32_t pixels_per_inch) {
  return MulDiv(designed, pixels_per_inch, kDesignedPixelsPerInch);
}

// A measure formed in extended precision (the 80-bit long double of GCC and MinGW on
// x86-64), truncated toward zero. Values beyond what any view can hold saturate at
// +-2^30 instead of overflowing: a 1-pixel-high strip scaled to a tall panel can pass the
// int range.
constexpr int TruncSaturated(long double value) {
  constexpr long double kLimit = 1 << 30;
  if (!(value < kLimit)) return 1 << 30;
  if (!(value > -kLimit)) return -(1 << 30);
  return static_cast<int>(value);
}

// A font's size in points from its height in pixels (negative: character height), at the
// given pixels per inch, rounded to the nearest point.
constexpr std::int32_t FontPointSize(std::int32_t height, std::int32_t pixels_per_inch) {
  return -MulDiv(height, 72, pixels_per_inch);
}

}  // namespace pelmora
