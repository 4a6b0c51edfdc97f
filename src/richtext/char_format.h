#pragma once
// Character-attribute changes for the rich-edit control. Each change names one attribute
// group by its mask and carries only the values that mask covers, so applying it touches
// nothing else. The Windows shell turns a change into the control's CHARFORMAT record.
#include <cstdint>
#include <string>

#include "base/font.h"
#include "richtext/color.h"

namespace pelmora {

// Mask and effect bits of the rich-edit control's character format. The four style bits
// (bold, italic, underline, strike-out) are the font style's own.
inline constexpr std::uint32_t kMaskStyle = 0x0000000Fu;
inline constexpr std::uint32_t kMaskCharset = 0x08000000u;
inline constexpr std::uint32_t kMaskFace = 0x20000000u;
inline constexpr std::uint32_t kMaskColor = 0x40000000u;
inline constexpr std::uint32_t kMaskSize = 0x80000000u;
inline constexpr std::uint32_t kEffectAutoColor = 0x40000000u;

struct CharFormatChange {
  std::uint32_t mask = 0;
  std::uint32_t effects = 0;
  std::int32_t height_twips = 0;
  std::uint32_t text_color = 0;
  std::uint8_t charset = 0;
  std::string face;  // Shift-JIS
};

// The window-text colour becomes automatic colour, which follows the system's text colour;
// any other colour is resolved to RGB with no effects, which also ends automatic colour.
CharFormatChange ColorChange(TColor color, SystemColorLookup system_color);
// Points to twips (x 20), held within the record's range.
CharFormatChange SizeChange(int points);
// Sets or clears all four style effects at once.
CharFormatChange StyleChange(TFontStyles style);
CharFormatChange FaceChange(std::string face);
CharFormatChange CharsetChange(std::uint8_t charset);

}  // namespace pelmora
