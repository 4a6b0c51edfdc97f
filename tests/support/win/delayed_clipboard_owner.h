#pragma once
// Another program that owns the clipboard and renders its formats only when asked, played
// by a thread of the test with a window of its own. It counts every request to render
// (WM_RENDERFORMAT), so a test sees which formats a reader fetched, and answers each with
// the text it was given, so a reader that should not have asked gets the text for real.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "base/win/handles.h"

namespace pelmora::test {

class DelayedClipboardOwner {
 public:
  // Empties the clipboard and places each of `present` with a small block of real data and
  // each of `on_request` for rendering on request. Returns once they are placed.
  DelayedClipboardOwner(std::vector<UINT> present, std::vector<UINT> on_request,
                        std::wstring text);
  ~DelayedClipboardOwner();
  DelayedClipboardOwner(const DelayedClipboardOwner&) = delete;
  DelayedClipboardOwner& operator=(const DelayedClipboardOwner&) = delete;

  bool Placed() const { return placed_; }
  int RenderRequests() const { return render_requests_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void Run();

  std::vector<UINT> present_;
  std::vector<UINT> on_request_;
  std::wstring text_;
  win::UniqueKernelHandle ready_;
  std::atomic<bool> placed_{false};
  std::atomic<int> render_requests_{0};
  std::atomic<DWORD> thread_id_{0};
  std::thread thread_;
};

}  // namespace pelmora::test
