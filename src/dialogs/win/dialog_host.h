#pragma once
// What every modal dialog of the program shares: the windows it belongs to, the disabling
// of the program's other windows while it runs, and its place on the screen.
#include <windows.h>

#include <optional>

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

// Moves dialog, without resizing, activating or changing the Z-order, to the centre of the
// monitor of form (the primary monitor when form is null): across by half, down by a third
// of the free space.
void CentreDialogOnMonitor(HWND dialog, HWND form) noexcept;

}  // namespace pelmora::win
