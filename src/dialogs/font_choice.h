#pragma once
// The font the font dialog edits, and how the dialog's answer changes it.
#include <cstdint>
#include <string>

#include "base/color.h"
#include "base/font.h"

namespace pelmora {

// The main window's font dialog starts with this font: the windows' face, 12 pixels
// high, Shift-JIS, window-text colour, no style.
TFont InitialDialogFont();

// What the platform's font dialog hands back.
struct FontDialogAnswer {
  std::string face;  // Shift-JIS
  std::int32_t height = 0;
  std::int32_t weight = 0;
  bool italic = false;
  bool underline = false;
  bool strike_out = false;
  std::uint8_t charset = 0;
  TColor color = 0;
  // Set while the dialog ran: a selection change in the colour list, in the script list.
  bool color_chosen = false;
  bool charset_chosen = false;
};

// Takes a confirmed answer into the font: a face that differs (ASCII letters compared
// without case) brings the dialog's character set with it even when the script list was
// not touched; the colour changes only when one was picked, so the window-text code
// survives a dialog confirmed without touching the colour.
void ApplyFontDialogAnswer(TFont& font, const FontDialogAnswer& answer);

}  // namespace pelmora
