#include "support/win/wait.h"

namespace pelmora::test {

void PumpMessages(DWORD duration_ms) {
  const ULONGLONG end = ::GetTickCount64() + duration_ms;
  do {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (::GetTickCount64() < end);
}

bool DrainMessages(DWORD timeout_ms) {
  const ULONGLONG end = ::GetTickCount64() + timeout_ms;
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
    if (::GetTickCount64() >= end) return false;
  }
  return true;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms) {
  const ULONGLONG end = ::GetTickCount64() + timeout_ms;
  for (;;) {
    if (condition()) return true;
    if (::GetTickCount64() >= end) return condition();
    PumpMessages(20);
  }
}

}  // namespace pelmora::test
