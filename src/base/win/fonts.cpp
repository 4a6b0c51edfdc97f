#include "base/win/fonts.h"

#include "base/win/text.h"
#include "base/win/window.h"

namespace pelmora::win {

UniqueFont CreateScaledFont(const char* face, int designed_height) {
  LOGFONTW font{};
  font.lfHeight = -ScaleToScreen(designed_height);
  font.lfCharSet = SHIFTJIS_CHARSET;
  WideFromSjis(face).copy(font.lfFaceName, LF_FACESIZE - 1);
  return UniqueFont(::CreateFontIndirectW(&font));
}

UniqueFont CreateMessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return {};
  return UniqueFont(::CreateFontIndirectW(&metrics.lfMessageFont));
}

HFONT FontOrGuiFont(HFONT font) {
  return font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace pelmora::win
