#pragma once
// What every modal dialog of the program shares: the windows it belongs to, the disabling
// of the program's other windows while it runs, and its place on the screen.
#include <windows.h>

#include <optional>
#include <utility>

#include "base/win/error_display.h"
#include "base/win/task_windows.h"

namespace pelmora::win {

// The application's own top-level window, which owns every dialog, and the main form,
// whose monitor a dialog goes to when no form of the program is active. Set once at
// start-up; until then the owner is the error display's owner and there is no main form.
void SetDialogWindows(HWND application, HWND main_form);
HWND DialogOwner();
HWND DialogMainForm();

// One run of a modal dialog: remembers the active window and the focus, then disables the
// thread's other windows; at the end enables them again and restores the active window
// and the focus.
class ModalDialogRun {
 public:
  ModalDialogRun();
  ~ModalDialogRun();
  ModalDialogRun(const ModalDialogRun&) = delete;
  ModalDialogRun& operator=(const ModalDialogRun&) = delete;

  // The form whose monitor the dialog goes to: the window active when the run began
  // unless that was the application's own window, else the main form.
  HWND PlacementForm() const;

 private:
  HWND active_;
  HWND focus_;
  std::optional<DisabledTaskWindows> disabled_;
};

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

// Moves dialog, without resizing, activating or changing the Z-order, to the centre of the
// monitor of form (the primary monitor when form is null): across by half, down by a third
// of the free space.
void CentreDialogOnMonitor(HWND dialog, HWND form) noexcept;

}  // namespace pelmora::win
