#pragma once
// The modal loop every modal window of the shell runs: the thread's other windows disabled,
// this thread's messages dispatched until the window is closed, then the others enabled
// again, the window hidden, and the activation and focus given back where they were.
#include <windows.h>

#include <functional>

namespace pelmora::win {

struct ModalRun {
  HWND window = nullptr;
  // Set by the window's own handlers (its close, its OK button) to end the loop.
  const bool* closed = nullptr;
  // The control that takes the focus once the window is shown, if any.
  HWND focus = nullptr;
  // Brings the window to the foreground as it is shown.
  bool foreground = false;
  // Sees every message before it is dispatched; true when it has dealt with it.
  std::function<bool(MSG&)> filter;
};

// Shows run.window and returns when *run.closed is set or the window is gone. WM_QUIT also
// ends it and is posted again, so the program's own loop ends as well.
void RunModal(const ModalRun& run);

}  // namespace pelmora::win
