#pragma once
// The one source of the scale the shell draws at. The program is aware of each monitor's
// scale (per-monitor, version 2): a window is drawn at the pixels per inch of the monitor
// it stands on, and its measures, designed at 96, are scaled to that. The platform's
// functions for it are looked up when first needed, so a system that lacks them falls back
// to what it has: the monitor's scale, else the one scale of the session.
#include <windows.h>

namespace pelmora::win {

// The session's pixels per inch: what GDI reports for every monitor (LOGPIXELSY), and so
// the scale at which the rich-edit control and the font dialog turn points into pixels.
int SystemPixelsPerInch();

// The pixels per inch of the monitor window stands on. A window made hidden asks this
// before it is laid out, so it opens at the scale of the monitor it opens on.
int WindowPixelsPerInch(HWND window);

// The outer size of a window of style and ex_style around a client area of the given
// size, with the frame the system draws at pixels_per_inch.
SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD ex_style, int pixels_per_inch);

// The platform's message-box font at pixels_per_inch; false when the platform does not
// tell it.
bool MessageFontAt(int pixels_per_inch, LOGFONTW& font);

}  // namespace pelmora::win
