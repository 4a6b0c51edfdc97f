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

}  // namespace pelmora::win
