#pragma once
// The fonts of the shell's windows, made in one place.
#include <windows.h>

#include "base/win/handles.h"

namespace pelmora::win {

// A Shift-JIS font of face (Shift-JIS) whose characters are designed_height pixels high at
// 96 dpi, scaled to the screen's pixels per inch.
UniqueFont CreateScaledFont(const char* face, int designed_height);

// The platform's message-box font; none when the platform does not say which it is.
UniqueFont CreateMessageFont();

// font, or the system's GUI font when there is none.
HFONT FontOrGuiFont(HFONT font);

}  // namespace pelmora::win
