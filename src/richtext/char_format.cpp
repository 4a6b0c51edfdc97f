#include "richtext/char_format.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace pelmora {

CharFormatChange ColorChange(TColor color, SystemColorLookup system_color) {
  CharFormatChange change;
  change.mask = kMaskColor;
  if (color == clWindowText) {
    change.effects = kEffectAutoColor;
  } else {
    change.text_color = ColorToRGB(color, system_color);
  }
  return change;
}

CharFormatChange SizeChange(int points) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  CharFormatChange change;
  change.mask = kMaskSize;
  const std::int64_t twips = static_cast<std::int64_t>(points) * 20;
  change.height_twips = static_cast<std::int32_t>(std::clamp<std::int64_t>(twips, -kMax, kMax));
  return change;
}

CharFormatChange StyleChange(TFontStyles style) {
  CharFormatChange change;
  change.mask = kMaskStyle;
  change.effects = style & kMaskStyle;
  return change;
}

CharFormatChange FaceChange(std::string face) {
  CharFormatChange change;
  change.mask = kMaskFace;
  change.face = std::move(face);
  return change;
}

CharFormatChange CharsetChange(std::uint8_t charset) {
  CharFormatChange change;
  change.mask = kMaskCharset;
  change.charset = charset;
  return change;
}

}  // namespace pelmora
