#pragma once
// The clipboard's change notices as a window of the test receives them, so a test can wait
// until a change has been announced on its thread (and every window of the thread has
// handled its notice) rather than for a fixed time.
#include <windows.h>

#include "base/win/handles.h"

namespace pelmora::test {

class ClipboardNotices {
 public:
  ClipboardNotices();
  ~ClipboardNotices();
  ClipboardNotices(const ClipboardNotices&) = delete;
  ClipboardNotices& operator=(const ClipboardNotices&) = delete;

  // Waits until a notice has come since the last wait (or since this was made), then lets
  // the thread handle what was queued with it. False when none came within the time.
  bool WaitForNext(DWORD timeout_ms = 5000);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  int received_ = 0;
  int waited_for_ = 0;
  win::UniqueWindow window_;
};

}  // namespace pelmora::test
