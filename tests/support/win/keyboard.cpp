#include "support/win/keyboard.h"

#include <vector>

namespace pelmora::test {
namespace {

bool IsExtendedKey(WORD virtual_key) {
  switch (virtual_key) {
    case VK_HOME: case VK_END: case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_PRIOR: case VK_NEXT: case VK_INSERT: case VK_DELETE:
      return true;
    default:
      return false;
  }
}

INPUT Key(WORD virtual_key, DWORD flags = 0) {
  INPUT key{};
  key.type = INPUT_KEYBOARD;
  key.ki.wVk = virtual_key;
  key.ki.dwFlags = flags | (IsExtendedKey(virtual_key) ? KEYEVENTF_EXTENDEDKEY : 0);
  return key;
}

void Send(std::vector<INPUT>& keys) {
  ::SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

}  // namespace

void BringToForeground(HWND window) {
  HWND top = ::GetAncestor(window, GA_ROOT);
  const DWORD thread = ::GetWindowThreadProcessId(top, nullptr);
  ::AttachThreadInput(::GetCurrentThreadId(), thread, TRUE);
  ::SetForegroundWindow(top);
  ::AttachThreadInput(::GetCurrentThreadId(), thread, FALSE);
}

void PressWithCtrl(HWND window, DWORD, WORD virtual_key) {
  BringToForeground(window);
  PressChord({VK_CONTROL, virtual_key});
}

void PressWithAlt(HWND window, WORD virtual_key) {
  BringToForeground(window);
  PressChord({VK_MENU, virtual_key});
}

void PressKey(WORD virtual_key) { PressChord({virtual_key}); }

void PressChord(std::initializer_list<WORD> virtual_keys) {
  std::vector<INPUT> keys;
  for (const WORD key : virtual_keys) keys.push_back(Key(key));
  for (auto key = std::rbegin(virtual_keys); key != std::rend(virtual_keys); ++key) {
    keys.push_back(Key(*key, KEYEVENTF_KEYUP));
  }
  Send(keys);
}

void PressKeyIn(HWND window, WORD virtual_key) {
  BringToForeground(window);
  PressKey(virtual_key);
}

void TypeWithKeyboard(HWND window, DWORD, const std::wstring& text) {
  BringToForeground(window);
  TypeText(text);
}

void TypeText(const std::wstring& text) {
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
  Send(keys);
}

}  // namespace pelmora::test
