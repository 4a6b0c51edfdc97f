#pragma once
// The rich-edit control of version 4.1: its library "Msftedit.dll" and the Unicode window
// class the text view creates its windows from.
#include <windows.h>

namespace pelmora::win {

// Loads the library unless it is loaded; raises EOSError when it cannot be loaded. The
// library is released when the program ends.
void LoadRichEditLibrary();

// The text view's window class: the control's MSFTEDIT_CLASS ("RICHEDIT50W") without the
// redraw-on-resize styles, with window_proc in front of the control's own procedure and
// room for one pointer after the control's window bytes. A Unicode class, registered on
// first use (the library must be loaded); nullptr when the control's class is not there.
struct RichEditClass {
  const wchar_t* name;
  WNDPROC control_proc;  // the control's own window procedure
  int pointer_offset;    // where the window's extra bytes hold the owner pointer
};
const RichEditClass* RegisterRichEditClass(WNDPROC window_proc);

}  // namespace pelmora::win
