#pragma once
// The shape every window of the shell shares: a C++ object attached to its window on
// WM_NCCREATE (the first message, so none is missed) from CreateWindowEx's last argument,
// and a window procedure that runs the object's HandleMessage through Dispatch.
#include <windows.h>

#include "base/win/error_display.h"

namespace pelmora::win {

// T provides: LRESULT HandleMessage(HWND, UINT, WPARAM, LPARAM). The object must outlive
// its window or destroy it; on WM_NCDESTROY the link is cut.
template <typename T>
LRESULT CALLBACK AttachedWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<T*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  return Dispatch([&] { return self->HandleMessage(window, message, wparam, lparam); });
}

// Registers a window class once per process; raises EOSError when the system refuses.
void RegisterWindowClass(const WNDCLASSEXW& window_class);

// Pixels per logical inch of the screen, and a designed measure (at 96) scaled to it.
int ScreenPixelsPerInch();
int ScaleToScreen(int designed);

}  // namespace pelmora::win
