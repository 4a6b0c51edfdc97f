#include "base/win/window.h"

#include "base/win/system_error.h"

namespace pelmora::win {

void RegisterWindowClass(const WNDCLASSEXW& window_class) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (::GetClassInfoExW(window_class.hInstance, window_class.lpszClassName, &existing)) return;
  if (!::RegisterClassExW(&window_class) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    RaiseLastOSError();
  }
}

void MoveTo(HWND window, const RECT& bounds) noexcept {
  if (window == nullptr) return;
  ::SetWindowPos(window, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace pelmora::win
