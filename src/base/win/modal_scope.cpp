#include "base/win/modal_scope.h"

namespace pelmora::win {

ModalScope::ModalScope(HWND keep)
    : keep_(keep), active_(::GetActiveWindow()), focus_(::GetFocus()) {
  ::EnumThreadWindows(::GetCurrentThreadId(), &ModalScope::Collect,
                      reinterpret_cast<LPARAM>(this));
  for (HWND window : disabled_) ::EnableWindow(window, FALSE);
}

ModalScope::~ModalScope() {
  for (HWND window : disabled_) {
    if (::IsWindow(window)) ::EnableWindow(window, TRUE);
  }
  if (modal_ && ::IsWindow(modal_)) ::ShowWindow(modal_, SW_HIDE);
  if (active_ && ::IsWindow(active_)) ::SetActiveWindow(active_);
  if (focus_ && ::IsWindow(focus_)) ::SetFocus(focus_);
}

BOOL CALLBACK ModalScope::Collect(HWND window, LPARAM self_pointer) {
  auto* self = reinterpret_cast<ModalScope*>(self_pointer);
  if (window != self->keep_ && ::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
    try {
      self->disabled_.push_back(window);
    } catch (...) {
      // Out of memory: the windows collected so far are disabled, the rest stay usable.
      return FALSE;
    }
  }
  return TRUE;
}

}  // namespace pelmora::win
