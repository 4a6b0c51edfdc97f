#include "base/win/fonts.h"

#include "base/muldiv.h"
#include "base/win/display_scale.h"
#include "base/win/text.h"

namespace pelmora::win {

UniqueFont CreateScaledFont(const char* face, int designed_height, int pixels_per_inch) {
  LOGFONTW font{};
  font.lfHeight = -ScaledMeasure(designed_height, pixels_per_inch);
  font.lfCharSet = SHIFTJIS_CHARSET;
  WideFromSjis(face).copy(font.lfFaceName, LF_FACESIZE - 1);
  return UniqueFont(::CreateFontIndirectW(&font));
}

UniqueFont CreateMessageFont(int pixels_per_inch) {
  LOGFONTW font{};
  if (!MessageFontAt(pixels_per_inch, font)) return {};
  return UniqueFont(::CreateFontIndirectW(&font));
}

HFONT FontOrGuiFont(HFONT font) {
  return font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace pelmora::win
