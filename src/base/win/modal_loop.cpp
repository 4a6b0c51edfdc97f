#include "base/win/modal_loop.h"

#include "base/win/task_windows.h"

namespace pelmora::win {
namespace {

// At the end of a modal run, on every path: hides the window, then activates the window
// that was active before and gives the focus back. It runs after the other windows are
// enabled again, so the activation returns to this program's window rather than another's.
class ActivationRestore {
 public:
  explicit ActivationRestore(HWND window)
      : window_(window), active_(::GetActiveWindow()), focus_(::GetFocus()) {}
  ActivationRestore(const ActivationRestore&) = delete;
  ActivationRestore& operator=(const ActivationRestore&) = delete;
  ~ActivationRestore() {
    if (::IsWindow(window_)) ::ShowWindow(window_, SW_HIDE);
    if (active_ && ::IsWindow(active_)) ::SetActiveWindow(active_);
    if (focus_ && ::IsWindow(focus_)) ::SetFocus(focus_);
  }

 private:
  HWND window_;
  HWND active_;
  HWND focus_;
};

}  // namespace

void RunModal(const ModalRun& run) {
  HWND window = run.window;
  ActivationRestore restore(window);
  DisabledTaskWindows disabled(window);
  ::ShowWindow(window, SW_SHOW);
  if (run.foreground) ::SetForegroundWindow(window);
  ::SetActiveWindow(window);
  if (run.focus) ::SetFocus(run.focus);

  MSG message{};
  while (!*run.closed && ::IsWindow(window)) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (got < 0) break;
    if (run.filter && run.filter(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

}  // namespace pelmora::win
