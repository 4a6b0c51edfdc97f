#include "base/win/task_windows.h"

namespace pelmora::win {

DisabledTaskWindows::DisabledTaskWindows(HWND keep) : keep_(keep) {
  ::EnumThreadWindows(::GetCurrentThreadId(), &DisabledTaskWindows::Collect,
                      reinterpret_cast<LPARAM>(this));
  for (HWND window : windows_) ::EnableWindow(window, FALSE);
}

DisabledTaskWindows::~DisabledTaskWindows() {
  for (HWND window : windows_) {
    if (::IsWindow(window)) ::EnableWindow(window, TRUE);
  }
}

BOOL CALLBACK DisabledTaskWindows::Collect(HWND window, LPARAM self_pointer) {
  auto* self = reinterpret_cast<DisabledTaskWindows*>(self_pointer);
  if (window != self->keep_ && ::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
    try {
      self->windows_.push_back(window);
    } catch (...) {
      return FALSE;
    }
  }
  return TRUE;
}

}  // namespace pelmora::win
