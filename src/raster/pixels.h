#pragma once
// Reading and writing rows of pixels in any image form, through plain RGB values. The
// conversion, stretching and decoding code is built on these two.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "raster/image.h"

namespace pelmora::raster {

// One colour channel of a bit-field pixel: where it lies and how wide it is.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  int width = 0;

  static Channel FromMask(std::uint32_t mask);
  std::uint8_t Read(std::uint32_t pixel) const;
  std::uint32_t Write(std::uint8_t value) const;
};

// Reads a row of an image as colours.
class RowReader {
 public:
  explicit RowReader(const Image& image);
  // Reads `count` pixels from column x0 of picture row y (0 = top). The range must lie
  // inside the image.
  void Read(int y, int x0, int count, Rgb* out) const;

 private:
  const Image& image_;
  std::span<const Rgb> table_;
  std::array<Channel, 3> channels_;
  bool plain_masks_ = false;  // 32 bits with the usual byte masks
};

// Writes colours into a row of an image; indexed images get the nearest entry of their
// colour table (remembered per colour).
class RowWriter {
 public:
  explicit RowWriter(Image& image);
  void Write(int y, int x0, int count, const Rgb* in);

 private:
  std::uint8_t Index(Rgb colour);

  Image& image_;
  std::span<const Rgb> table_;
  std::array<Channel, 3> channels_;
  bool plain_masks_ = false;
  // A small cache of nearest-entry answers: key (colour | 1 << 24) to index.
  std::vector<std::uint32_t> cache_keys_;
  std::vector<std::uint8_t> cache_values_;
};

}  // namespace pelmora::raster
