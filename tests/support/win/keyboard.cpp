#include "support/win/keyboard.h"

#include <vector>

namespace pelmora::test {
namespace {

void BringToForeground(HWND window, DWORD thread) {
  ::AttachThreadInput(::GetCurrentThreadId(), thread, TRUE);
  ::SetForegroundWindow(window);
  ::AttachThreadInput(::GetCurrentThreadId(), thread, FALSE);
}

INPUT Key(WORD virtual_key, DWORD flags = 0) {
  INPUT key{};
  key.type = INPUT_KEYBOARD;
  key.ki.wVk = virtual_key;
  key.ki.dwFlags = flags;
  return key;
}

}  // namespace

void PressWithCtrl(HWND window, DWORD thread, WORD virtual_key) {
  BringToForeground(window, thread);
  INPUT keys[4] = {Key(VK_CONTROL), Key(virtual_key), Key(virtual_key, KEYEVENTF_KEYUP),
                   Key(VK_CONTROL, KEYEVENTF_KEYUP)};
  ::SendInput(4, keys, sizeof(INPUT));
}

void PressWithAlt(HWND window, WORD virtual_key) {
  BringToForeground(window, ::GetWindowThreadProcessId(window, nullptr));
  INPUT keys[4] = {Key(VK_MENU), Key(virtual_key), Key(virtual_key, KEYEVENTF_KEYUP),
                   Key(VK_MENU, KEYEVENTF_KEYUP)};
  ::SendInput(4, keys, sizeof(INPUT));
}

void PressKey(WORD virtual_key) {
  INPUT keys[2] = {Key(virtual_key), Key(virtual_key, KEYEVENTF_KEYUP)};
  ::SendInput(2, keys, sizeof(INPUT));
}

void TypeWithKeyboard(HWND window, DWORD thread, const std::wstring& text) {
  BringToForeground(window, thread);
  std::vector<INPUT> keys;
  for (const wchar_t c : text) {
    for (const DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      if (c == L'\r') {
        keys.push_back(Key(VK_RETURN, up));
      } else {
        INPUT key = Key(0, KEYEVENTF_UNICODE | up);
        key.ki.wScan = c;
        keys.push_back(key);
      }
    }
  }
  ::SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

}  // namespace pelmora::test
