#pragma once
// Disables the thread's other top-level windows while a modal window or box is up, and
// enables them again when it ends, whatever way it ends.
#include <windows.h>

#include <vector>

namespace pelmora::win {

class DisabledTaskWindows {
 public:
  // Disables every visible, enabled top-level window of this thread except keep.
  explicit DisabledTaskWindows(HWND keep = nullptr);
  DisabledTaskWindows(const DisabledTaskWindows&) = delete;
  DisabledTaskWindows& operator=(const DisabledTaskWindows&) = delete;
  ~DisabledTaskWindows();

 private:
  static BOOL CALLBACK Collect(HWND window, LPARAM self_pointer);

  HWND keep_;
  std::vector<HWND> windows_;
};

}  // namespace pelmora::win
