#pragma once
// What every modal window, dialog and box of the program does to the rest of it: while it
// is up, the thread's other windows are disabled; when it ends, whatever way it ends, they
// are enabled again and the activation and the focus go back where they were.
#include <windows.h>

#include <vector>

namespace pelmora::win {

class ModalScope {
 public:
  // Remembers the active window and the focus, then disables every visible, enabled
  // top-level window of this thread except keep (the owner of a platform box, which the
  // box disables and enables itself).
  explicit ModalScope(HWND keep = nullptr);
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;
  // Enables the disabled windows that still exist, hides the modal window (HideAtEnd),
  // then activates the remembered window and gives the focus back.
  ~ModalScope();

  // The window that was active when the scope began; null when none was.
  HWND PreviouslyActive() const { return active_; }

  // A window of the program's own that is modal in this scope, hidden as the scope ends.
  // It is hidden after the others are enabled, so that the activation it gives up goes to
  // a window of this program rather than another program's.
  void HideAtEnd(HWND modal) { modal_ = modal; }

 private:
  static BOOL CALLBACK Collect(HWND window, LPARAM self_pointer);

  HWND keep_;
  HWND active_;
  HWND focus_;
  HWND modal_ = nullptr;
  std::vector<HWND> disabled_;
};

}  // namespace pelmora::win
