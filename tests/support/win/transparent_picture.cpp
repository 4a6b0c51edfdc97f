#include "support/win/transparent_picture.h"

#include <cstring>
#include <utility>

#include "support/win/png.h"

namespace pelmora::test {

namespace {

std::uint8_t Red(std::uint32_t c) { return static_cast<std::uint8_t>(c >> 16); }
std::uint8_t Green(std::uint32_t c) { return static_cast<std::uint8_t>(c >> 8); }
std::uint8_t Blue(std::uint32_t c) { return static_cast<std::uint8_t>(c); }

std::uint8_t Blend(unsigned c, unsigned a, unsigned ground) {
  return static_cast<std::uint8_t>((c * a + ground * (255 - a) + 127) / 255);
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

// A packed DIB: header fields, then bottom-up rows of the given pixels (top-down input).
HGLOBAL PackedDib(std::uint32_t header_size, std::uint16_t bits, std::uint32_t compression,
                  const std::vector<std::uint32_t>& masks, const std::vector<std::uint8_t>& top_down) {
  const int side = kTransparentSide;
  const std::size_t row = (static_cast<std::size_t>(side) * bits / 8 + 3) / 4 * 4;
  std::vector<std::uint8_t> dib;
  Put32(dib, header_size);
  Put32(dib, side);
  Put32(dib, side);
  Put32(dib, 1 | (std::uint32_t{bits} << 16));
  Put32(dib, compression);
  Put32(dib, static_cast<std::uint32_t>(row * side));
  for (int i = 0; i < 4; ++i) Put32(dib, 0);
  for (std::uint32_t m : masks) Put32(dib, m);
  if (header_size == 124) {
    Put32(dib, 0x73524742);  // LCS_sRGB
    dib.resize(dib.size() + 48, 0);
    Put32(dib, 4);  // LCS_GM_IMAGES
    dib.resize(124, 0);
  }
  const std::size_t in_row = static_cast<std::size_t>(side) * bits / 8;
  for (int y = side - 1; y >= 0; --y) {
    const std::uint8_t* from = top_down.data() + in_row * y;
    dib.insert(dib.end(), from, from + in_row);
    dib.resize(dib.size() + (row - in_row), 0);
  }
  return GlobalCopy(dib.data(), dib.size());
}

}  // namespace

std::uint8_t TransparentAlpha(int x, int y) {
  const int dx = x - 60, dy = y - 55;
  if (dx * dx + dy * dy <= 40 * 40) return 255;
  if (y >= 100) return 128;
  return 0;
}

std::uint32_t TransparentColour(int x, int y) {
  const std::uint8_t alpha = TransparentAlpha(x, y);
  return alpha == 255 ? 0xFF0000 : alpha == 128 ? 0x0000FF : 0x00A000;
}

std::vector<std::uint8_t> TransparentPixels(AlphaData data) {
  std::vector<std::uint8_t> pixels;
  for (int y = 0; y < kTransparentSide; ++y) {
    for (int x = 0; x < kTransparentSide; ++x) {
      const std::uint32_t c = TransparentColour(x, y);
      const unsigned a = TransparentAlpha(x, y);
      if (data == AlphaData::Premultiplied) {
        pixels.insert(pixels.end(), {Blend(Blue(c), a, 0), Blend(Green(c), a, 0),
                                     Blend(Red(c), a, 0), static_cast<std::uint8_t>(a)});
      } else {
        pixels.insert(pixels.end(), {Blue(c), Green(c), Red(c),
                                     static_cast<std::uint8_t>(data == AlphaData::AllZero ? 0 : a)});
      }
    }
  }
  return pixels;
}

HGLOBAL GlobalCopy(const void* bytes, std::size_t size) {
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
  std::memcpy(::GlobalLock(block), bytes, size);
  ::GlobalUnlock(block);
  return block;
}

HGLOBAL TransparentDib(AlphaData data) {
  return PackedDib(40, 32, BI_RGB, {}, TransparentPixels(data));
}

HGLOBAL TransparentDibV5() {
  return PackedDib(124, 32, BI_BITFIELDS, {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
                   TransparentPixels(AlphaData::Straight));
}

HGLOBAL OpaqueDib(std::uint32_t colour) {
  std::vector<std::uint8_t> pixels;
  for (int i = 0; i < kTransparentSide * kTransparentSide; ++i) {
    pixels.insert(pixels.end(), {Blue(colour), Green(colour), Red(colour)});
  }
  return PackedDib(40, 24, BI_RGB, {}, pixels);
}

std::string TransparentPng() {
  std::vector<std::uint8_t> rgba = TransparentPixels(AlphaData::Straight);
  for (std::size_t i = 0; i < rgba.size(); i += 4) std::swap(rgba[i], rgba[i + 2]);
  return EncodePng(kTransparentSide, kTransparentSide, 4, rgba);
}

std::uint32_t ExpectedOnScreen(int x, int y, bool alpha_honoured, int square) {
  const std::uint32_t c = TransparentColour(x, y);
  if (!alpha_honoured) return c;
  const unsigned a = TransparentAlpha(x, y);
  const unsigned ground = ((x / square + y / square) & 1) != 0 ? 204 : 255;
  return std::uint32_t{Blend(Red(c), a, ground)} << 16 | std::uint32_t{Blend(Green(c), a, ground)} << 8 |
         Blend(Blue(c), a, ground);
}

}  // namespace pelmora::test
