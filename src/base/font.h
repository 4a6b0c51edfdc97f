#pragma once
// A font as the program describes it: the text view's default format and the font the font
// dialog edits are both one.
#include <cstdint>
#include <string>

#include "base/color.h"
#include "base/muldiv.h"

namespace pelmora {

// The face the program's windows write in, "ＭＳ Ｐゴシック" (Shift-JIS).
inline constexpr char kWindowFontFace[] = "ＭＳ Ｐゴシック";

// A font's style: any of bold, italic, underline and strike-out. The bits equal the
// rich-edit control's effect bits.
using TFontStyles = std::uint8_t;
inline constexpr TFontStyles fsBold = 1;
inline constexpr TFontStyles fsItalic = 2;
inline constexpr TFontStyles fsUnderline = 4;
inline constexpr TFontStyles fsStrikeOut = 8;

struct TFont {
  std::string name;          // face name, Shift-JIS
  std::int32_t height = 0;   // pixels; negative: character height
  std::uint8_t charset = 1;  // DEFAULT_CHARSET
  TColor color = clWindowText;
  TFontStyles style = 0;

  // Size in points at the given pixels per inch, rounded to the nearest point.
  std::int32_t Size(std::int32_t pixels_per_inch) const {
    return FontPointSize(height, pixels_per_inch);
  }
  // The weight the platform's font record carries for the style.
  std::int32_t Weight() const { return (style & fsBold) ? 700 : 400; }
};

}  // namespace pelmora
