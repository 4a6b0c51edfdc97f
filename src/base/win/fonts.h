#pragma once
// The fonts of the shell's windows, made in one place, each for the scale of the window
// that draws with it.
#include <windows.h>

#include "base/font.h"
#include "base/win/handles.h"

namespace pelmora::win {

// A Shift-JIS font of face (Shift-JIS; the windows' own is kWindowFontFace) whose
// characters are designed_height pixels high at 96 pixels per inch, made for
// pixels_per_inch.
UniqueFont CreateScaledFont(const char* face, int designed_height, int pixels_per_inch);

// The platform's message-box font at pixels_per_inch; none when the platform does not say
// which it is.
UniqueFont CreateMessageFont(int pixels_per_inch);

// font, or the system's GUI font when there is none.
HFONT FontOrGuiFont(HFONT font);

}  // namespace pelmora::win
