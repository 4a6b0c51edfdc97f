#pragma once
// Finding and reading windows from the Windows tests.
#include <windows.h>

#include <string>

#include "dialogs/dialog_position.h"

namespace pelmora::test {

// The first top-level window of the process with this class name (any visibility when
// visible_only is false); null when there is none.
HWND FindProcessWindow(DWORD process_id, const wchar_t* class_name, bool visible_only = false);

// The first visible top-level window of thread with the class name, other than except.
HWND FindThreadWindow(DWORD thread, const wchar_t* class_name, HWND except = nullptr);

// The first descendant of parent with this class name; null when there is none.
HWND FindChildWindow(HWND parent, const wchar_t* class_name);

std::wstring WindowText(HWND window);

// A window's class name, "no window" for null; and a UTF-16 text with everything beyond
// ASCII as "?", for messages.
std::string ClassOf(HWND window);
std::string AsciiOf(const wchar_t* text);

// The window's text, converted to Shift-JIS.
std::string WindowTextSjis(HWND window);

// The client area's size.
SIZE ClientSize(HWND window);

// Where a window of the given outer bounds stands when centred on the monitor of form (the
// primary monitor when form is null), down by place.
DialogOrigin CentredOnMonitorOf(HWND form, const RECT& bounds, VerticalPlace place);

// A designed measure (at 96 pixels per inch) at the session's scale.
int Scaled(int designed);

}  // namespace pelmora::test
