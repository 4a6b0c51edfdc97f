#pragma once
// Child controls of the shell's windows: made from one description, named field by field,
// with defaults for what a control does not need.
#include <windows.h>

namespace pelmora::win {

struct ControlArgs {
  HWND parent = nullptr;
  const wchar_t* window_class = nullptr;
  const wchar_t* text = L"";
  // Added to WS_CHILD | WS_VISIBLE.
  DWORD style = 0;
  RECT bounds{};  // in the parent's client coordinates
  int id = 0;
  // Sent with WM_SETFONT when given.
  HFONT font = nullptr;
  // CreateWindowEx's last argument: the object of an attached window class.
  void* create_param = nullptr;
};

// Makes a visible child window; raises EOSError when the system refuses.
HWND CreateControl(const ControlArgs& args);
// The same for an optional control, where the window does its work without it: null when
// the system refuses.
HWND CreateControlIfPossible(const ControlArgs& args);

// The answer to WM_CTLCOLORSTATIC (dc is its wparam): the control's text in the system
// colour text_color, its background and brush in the system colour background.
LRESULT StaticControlColors(WPARAM dc, int text_color, int background);

}  // namespace pelmora::win
