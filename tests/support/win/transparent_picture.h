#pragma once
// The transparent picture the Windows tests place on the clipboard as other programs do,
// in each of its forms, and what it must look like on the screen.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pelmora::test {

// 120 x 120: an opaque red disc, a half-transparent blue band along the bottom, and a
// transparent green ground (green shows only where alpha is ignored).
inline constexpr int kTransparentSide = 120;

// How the picture's 32-bit pixels hold their alpha.
enum class AlphaData { Straight, Premultiplied, AllZero };

// Its pixels as blue, green, red, alpha, rows top-down.
std::vector<std::uint8_t> TransparentPixels(AlphaData data);
// The straight alpha of a pixel, and its straight colour (0x00RRGGBB).
std::uint8_t TransparentAlpha(int x, int y);
std::uint32_t TransparentColour(int x, int y);

// Global memory for the clipboard: a CF_DIB (40-byte header, BI_RGB, bottom-up), a
// CF_DIBV5 (BI_BITFIELDS with an alpha mask), or a 24-bit CF_DIB of one colour.
HGLOBAL TransparentDib(AlphaData data);
HGLOBAL TransparentDibV5();
HGLOBAL OpaqueDib(std::uint32_t colour);
// The picture as a PNG file's bytes (RGBA, straight alpha).
std::string TransparentPng();
HGLOBAL GlobalCopy(const void* bytes, std::size_t size);

// The colour the screen must show at (x, y) of the picture drawn at its own size: over the
// light checkerboard (squares of white and (204, 204, 204) from its top-left, 8 pixels at
// 96 pixels per inch) where it is transparent, or as it is when its alpha is ignored.
std::uint32_t ExpectedOnScreen(int x, int y, bool alpha_honoured, int square = 8);

}  // namespace pelmora::test
