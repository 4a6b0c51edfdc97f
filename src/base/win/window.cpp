#include "base/win/window.h"

#include "base/muldiv.h"
#include "base/win/handles.h"
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

int ScreenPixelsPerInch() {
  WindowDc screen(nullptr);
  const int ppi = screen ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
  return ppi > 0 ? ppi : 96;
}

int ScaleToScreen(int designed) { return pelmora::MulDiv(designed, ScreenPixelsPerInch(), 96); }

}  // namespace pelmora::win
