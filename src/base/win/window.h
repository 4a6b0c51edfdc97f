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

// The class description every window of T starts from: T's window procedure, the given
// module, the arrow cursor. Callers add style, icon and background where they need them.
template <typename T>
WNDCLASSEXW AttachedWindowClass(HINSTANCE instance, const wchar_t* class_name) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = &AttachedWindowProc<T>;
  window_class.hInstance = instance;
  window_class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  window_class.lpszClassName = class_name;
  return window_class;
}

// Registers a window class once per process; raises EOSError when the system refuses.
void RegisterWindowClass(const WNDCLASSEXW& window_class);

// Places a window at bounds (its parent's client coordinates, or the screen's for a
// top-level window) without changing its Z-order or activating it; nothing for null.
void MoveTo(HWND window, const RECT& bounds) noexcept;

}  // namespace pelmora::win
