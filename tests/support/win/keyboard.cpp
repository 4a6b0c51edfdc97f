#include "support/win/keyboard.h"

namespace pelmora::test {

void PressCtrlC(HWND box, DWORD thread) {
  ::AttachThreadInput(::GetCurrentThreadId(), thread, TRUE);
  ::SetForegroundWindow(box);
  ::AttachThreadInput(::GetCurrentThreadId(), thread, FALSE);
  INPUT keys[4] = {};
  for (INPUT& key : keys) key.type = INPUT_KEYBOARD;
  keys[0].ki.wVk = VK_CONTROL;
  keys[1].ki.wVk = 'C';
  keys[2].ki.wVk = 'C';
  keys[2].ki.dwFlags = KEYEVENTF_KEYUP;
  keys[3].ki.wVk = VK_CONTROL;
  keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(4, keys, sizeof(INPUT));
}

}  // namespace pelmora::test

namespace pelmora::test {

void PressKey(WORD virtual_key) {
  INPUT keys[2] = {};
  for (INPUT& key : keys) {
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = virtual_key;
  }
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, keys, sizeof(INPUT));
}

}  // namespace pelmora::test
