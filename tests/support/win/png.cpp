#include "support/win/png.h"

#include <stdexcept>
#include <string>

#include "picture/png_builder.h"
#include "support/file_bytes.h"

namespace pelmora::test {

std::string EncodePng(int width, int height, int channels, const std::vector<std::uint8_t>& pixels) {
  const std::size_t row = static_cast<std::size_t>(width) * channels;
  // The image data: each row behind a filter byte 0.
  std::vector<std::uint8_t> raw;
  raw.reserve((row + 1) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), pixels.begin() + static_cast<std::ptrdiff_t>(row * y),
               pixels.begin() + static_cast<std::ptrdiff_t>(row * (y + 1)));
  }
  PngBuilder png;
  png.Header(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
             channels == 4 ? 6 : 2)
      .Chunk("IDAT", PngBuilder::Deflate(raw))
      .End();
  return std::string(png.Bytes().begin(), png.Bytes().end());
}

bool WritePng(const std::filesystem::path& path, int width, int height, const std::vector<std::uint8_t>& rgb) {
  if (width <= 0 || height <= 0) return false;
  if (rgb.size() < static_cast<std::size_t>(width) * 3 * static_cast<std::size_t>(height)) return false;
  try {
    WriteBytes(path, EncodePng(width, height, 3, rgb));
  } catch (const std::runtime_error&) {
    return false;
  }
  return true;
}

}  // namespace pelmora::test
