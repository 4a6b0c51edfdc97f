#pragma once
// What every dialog and box of the program shares: the windows it belongs to, the monitor
// it opens on and its place there, and the hook procedure of the platform's dialogs.
#include <windows.h>

#include <utility>

#include "base/win/error_display.h"
#include "dialogs/dialog_position.h"

namespace pelmora::win {

// The application's own top-level window, which owns every dialog, and the main form,
// whose monitor a dialog goes to when no form of the program is active, for the life of
// the object (the program's start-up makes one); the previous ones come back at its end.
// Without one the owner is the error display's owner and there is no main form.
class DialogWindows {
 public:
  DialogWindows(HWND application, HWND main_form);
  ~DialogWindows();
  DialogWindows(const DialogWindows&) = delete;
  DialogWindows& operator=(const DialogWindows&) = delete;

 private:
  HWND previous_application_;
  HWND previous_main_form_;
};
HWND DialogOwner();
HWND DialogMainForm();

// The form whose monitor a dialog or box of the program goes to: active (the window that
// was active when it was asked for) unless that is none, gone or the application's own
// hidden window; else the main form; null when there is neither.
HWND PlacementForm(HWND active);

// The dialog of class T whose platform call is running on this thread, for the duration
// of that call: the hook procedure has no other way to find its object before the dialog
// stands. Runs nest; the end of one brings back the one it interrupted.
template <typename T>
class RunningDialog {
 public:
  explicit RunningDialog(T* dialog) : previous_(std::exchange(current_, dialog)) {}
  ~RunningDialog() { current_ = previous_; }
  RunningDialog(const RunningDialog&) = delete;
  RunningDialog& operator=(const RunningDialog&) = delete;

  static T* Current() { return current_; }

 private:
  T* previous_;
  static inline thread_local T* current_ = nullptr;
};

// The hook procedure of T's dialogs: T::HookMessage of the running dialog, through the
// same Dispatch as every window procedure, so an error is shown and the hook answers 0
// (the platform goes on with its own handling).
template <typename T>
UINT_PTR CALLBACK DialogHookProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  T* self = RunningDialog<T>::Current();
  if (self == nullptr) return 0;
  return static_cast<UINT_PTR>(Dispatch([&]() -> LRESULT {
    return static_cast<LRESULT>(self->HookMessage(window, message, wparam, lparam));
  }));
}

// The whole area of the monitor window is on, or nearest to (the primary monitor when
// window is null), in screen coordinates.
RECT MonitorArea(HWND window) noexcept;

// Moves window, without resizing, activating or changing the Z-order, to the centre of the
// monitor of form (the primary monitor when form is null): across by half, down as place
// says.
void CentreOnMonitor(HWND window, HWND form, VerticalPlace place) noexcept;

}  // namespace pelmora::win
