#pragma once
// Size arithmetic on values that come from files and clipboards: every product and sum is
// checked, so a hostile header can never wrap a size into something small.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace pelmora::raster {

inline std::optional<std::uint64_t> CheckedMul(std::uint64_t a, std::uint64_t b) {
  std::uint64_t result;
  if (__builtin_mul_overflow(a, b, &result)) return std::nullopt;
  return result;
}

inline std::optional<std::uint64_t> CheckedAdd(std::uint64_t a, std::uint64_t b) {
  std::uint64_t result;
  if (__builtin_add_overflow(a, b, &result)) return std::nullopt;
  return result;
}

// Bytes in one row of pixels, padded to 32 bits: ((width * bits + 31) / 32) * 4.
inline std::optional<std::uint64_t> PaddedRowBytes(std::uint64_t width, std::uint64_t bits) {
  auto row_bits = CheckedMul(width, bits);
  if (!row_bits) return std::nullopt;
  auto padded = CheckedAdd(*row_bits, 31);
  if (!padded) return std::nullopt;
  return *padded / 32 * 4;
}

}  // namespace pelmora::raster
