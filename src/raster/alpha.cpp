#include "raster/alpha.h"

#include <algorithm>
#include <array>
#include <vector>

#include "raster/operations.h"

namespace pelmora::raster {
namespace {

// x / 255 rounded, for x up to 255 * 255.
inline std::uint8_t DivideBy255(unsigned x) {
  x += 128;
  return static_cast<std::uint8_t>((x + (x >> 8)) >> 8);
}

// A colour channel c of alpha a over a ground channel g.
inline std::uint8_t Over(unsigned c, unsigned a, unsigned g) {
  return DivideBy255(c * a + g * (255 - a));
}

bool HoldsAlphaBytes(const Image& image) {
  return image.IsSection() && HasByteMasks(image.BitCount(), image.BitMasks());
}

}  // namespace

AlphaContent ExamineAlpha(const Image& image) {
  if (!HoldsAlphaBytes(image)) return AlphaContent::None;
  unsigned any = 0, all = 255;
  bool colour_above_alpha = false;
  const int width = image.Width();
  for (int y = 0; y < image.Height(); ++y) {
    const std::uint8_t* p = image.MemoryRow(y);
    for (int x = 0; x < width; ++x, p += 4) {
      const unsigned a = p[3];
      any |= a;
      all &= a;
      colour_above_alpha |= p[0] > a || p[1] > a || p[2] > a;
    }
    if (colour_above_alpha && any != 0 && all != 255) return AlphaContent::Straight;
  }
  if (any == 0 || all == 255) return AlphaContent::None;
  return colour_above_alpha ? AlphaContent::Straight : AlphaContent::Premultiplied;
}

void Unpremultiply(Image& image) {
  if (!HoldsAlphaBytes(image)) return;
  // c * 255 / a rounded, as a multiplier in 1/65536 for each alpha.
  std::array<std::uint32_t, 256> scale{};
  for (unsigned a = 1; a < 256; ++a) scale[a] = (255u * 65536u + a / 2) / a;
  const int width = image.Width();
  for (int y = 0; y < image.Height(); ++y) {
    std::uint8_t* p = image.MemoryRow(y);
    for (int x = 0; x < width; ++x, p += 4) {
      const unsigned a = p[3];
      if (a == 0 || a == 255) continue;
      for (int c = 0; c < 3; ++c) {
        p[c] = static_cast<std::uint8_t>(std::min(255u, (p[c] * scale[a] + 32768) >> 16));
      }
    }
  }
}

void AdoptAlpha(Image& image) {
  switch (ExamineAlpha(image)) {
    case AlphaContent::None:
      image.SetAlpha(false);
      return;
    case AlphaContent::Premultiplied:
      Unpremultiply(image);
      break;
    case AlphaContent::Straight:
      break;
  }
  image.SetAlpha(true);
}

std::shared_ptr<Image> FlattenOnto(const Image& image, Rgb background) {
  InfoHeader header;
  header.size = kInfoHeaderSize;
  header.width = image.Width();
  header.height = image.Height();
  header.planes = 1;
  header.bit_count = 24;
  auto flat = Image::MakeSection(header);
  const int width = image.Width();
  for (int y = 0; y < image.Height(); ++y) {
    const std::uint8_t* from = image.Row(y);
    std::uint8_t* to = flat->Row(y);
    for (int x = 0; x < width; ++x, from += 4, to += 3) {
      const unsigned a = from[3];
      to[0] = Over(from[0], a, background.blue);
      to[1] = Over(from[1], a, background.green);
      to[2] = Over(from[2], a, background.red);
    }
  }
  return flat;
}

std::shared_ptr<Image> CompositeOnCheckerboard(const Image& image, int width, int height,
                                               int square) {
  InfoHeader header;
  header.size = kInfoHeaderSize;
  header.width = width;
  header.height = -height;
  header.planes = 1;
  header.bit_count = 32;
  auto shown = Image::MakeSection(header);
  square = std::max(square, 1);
  std::vector<int> columns(static_cast<std::size_t>(width));
  for (int x = 0; x < width; ++x) columns[x] = NearestSource(x, 0, image.Width(), width);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* from = image.Row(NearestSource(y, 0, image.Height(), height));
    std::uint8_t* to = shown->MemoryRow(y);
    for (int x = 0; x < width; ++x, to += 4) {
      const std::uint8_t* p = from + std::size_t{4} * static_cast<std::size_t>(columns[x]);
      const unsigned a = p[3];
      if (a == 255) {
        to[0] = p[0];
        to[1] = p[1];
        to[2] = p[2];
      } else {
        const Rgb ground = CheckerAt(x, y, square);
        to[0] = Over(p[0], a, ground.blue);
        to[1] = Over(p[1], a, ground.green);
        to[2] = Over(p[2], a, ground.red);
      }
    }
  }
  return shown;
}

}  // namespace pelmora::raster
