#include "dialogs/font_choice.h"

#include "base/sjis.h"

namespace pelmora {

TFont InitialDialogFont() {
  TFont font;
  font.name = kWindowFontFace;
  font.height = -12;
  font.charset = 128;  // SHIFTJIS_CHARSET
  font.color = clWindowText;
  font.style = 0;
  return font;
}

void ApplyFontDialogAnswer(TFont& font, const FontDialogAnswer& answer) {
  bool charset_chosen = answer.charset_chosen;
  if (LowerCaseAscii(answer.face) != LowerCaseAscii(font.name)) charset_chosen = true;
  font.name = answer.face;
  font.height = answer.height;
  if (charset_chosen) font.charset = answer.charset;
  TFontStyles style = 0;
  if (answer.weight > 400) style |= fsBold;
  if (answer.italic) style |= fsItalic;
  if (answer.underline) style |= fsUnderline;
  if (answer.strike_out) style |= fsStrikeOut;
  font.style = style;
  if (answer.color_chosen) font.color = answer.color;
}

}  // namespace pelmora
