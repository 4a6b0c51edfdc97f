#pragma once
// What the codec benchmarks share: the photo-like picture they work on (smooth gradients,
// edges and some noise, so that its files are as large as a photograph's; rows of blue,
// green, red, top row first), the 24-bit bitmap the program holds of such rows, and the
// program's save of a bitmap as a JPEG or PNG file.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "base/stream.h"
#include "picture/bitmap.h"

namespace pelmora::bench {

// band_contrast brightens the green of alternate 250-pixel squares by that much (0: none).
inline std::vector<std::uint8_t> MakePhotograph(int width, int height, int band_contrast) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 3);
  std::uint32_t seed = 12345;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      seed = seed * 1103515245u + 12345u;
      const int noise = static_cast<int>((seed >> 16) & 15) - 8;
      std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 3];
      const int band = ((x / 250) + (y / 250)) % 2 ? band_contrast : 0;
      p[0] = static_cast<std::uint8_t>(std::clamp(y * 255 / height + noise, 0, 255));
      p[1] = static_cast<std::uint8_t>(std::clamp(band + (x ^ y) % 128 + noise, 0, 255));
      p[2] = static_cast<std::uint8_t>(std::clamp(x * 255 / width + noise, 0, 255));
    }
  }
  return pixels;
}

// Fills a 24-bit bitmap with rows as above.
inline void FillBitmap24(TBitmap& bitmap, const std::vector<std::uint8_t>& bgr, int width,
                         int height) {
  bitmap.SetPixelFormat(TPixelFormat::Bit24);
  bitmap.SetSizeForDecoding(width, height);
  const std::size_t row_bytes = std::size_t{3} * width;
  for (int y = 0; y < height; ++y) {
    std::memcpy(bitmap.ScanLine(y), &bgr[row_bytes * y], row_bytes);
  }
}

// Times the save as the program does it: the bitmap assigned to a new image of the kind,
// whose bytes are encoded into memory.
template <typename Image>
void SaveAs(benchmark::State& state, const TBitmap& bitmap) {
  for (auto _ : state) {
    Image image;
    image.Assign(&bitmap);
    TMemoryStream out;
    image.SaveToStream(out);
    benchmark::DoNotOptimize(out.Data());
  }
}

}  // namespace pelmora::bench
