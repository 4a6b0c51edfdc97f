#include "base/win/modal_loop.h"

#include "base/win/modal_scope.h"

namespace pelmora::win {

void RunModal(const ModalRun& run) {
  HWND window = run.window;
  ModalScope scope(window);
  scope.HideAtEnd(window);
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
