#pragma once
// The rich-edit control of version 1.0: its library "RICHED32.DLL" and the window class the
// text view creates its windows from.
#include <windows.h>

namespace pelmora::win {

// Loads the library unless it is loaded. A handle of 32 or less counts as not loaded, so
// the next call tries again. Returns whether the library is loaded. The library is
// released when the program ends.
bool LoadRichEditLibrary();

// The text view's window class: the control's "RICHEDIT" class without the redraw-on-resize
// styles, with window_proc in front of the control's own procedure and room for one
// pointer after the control's window bytes. Registered on first use (the library must be
// loaded); returns the class name, or nullptr when the control's class is not available.
struct RichEditClass {
  const char* name;
  WNDPROC control_proc;  // the control's own window procedure
  int pointer_offset;    // where the window's extra bytes hold the owner pointer
};
const RichEditClass* RegisterRichEditClass(WNDPROC window_proc);

}  // namespace pelmora::win
