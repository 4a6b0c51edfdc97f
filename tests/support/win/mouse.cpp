#include "support/win/mouse.h"

namespace pelmora::test {

void ClickAt(POINT screen_point, bool right_button) {
  // Absolute positions run from 0 to 65535 across the primary screen.
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  INPUT inputs[3] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.dx = ::MulDiv(screen_point.x, 65535, width - 1);
    input.mi.dy = ::MulDiv(screen_point.y, 65535, height - 1);
  }
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  inputs[1].mi.dwFlags =
      (right_button ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN) | MOUSEEVENTF_ABSOLUTE;
  inputs[2].mi.dwFlags =
      (right_button ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP) | MOUSEEVENTF_ABSOLUTE;
  ::SendInput(3, inputs, sizeof(INPUT));
}

void ClickWindow(HWND window) {
  RECT rect;
  ::GetWindowRect(window, &rect);
  ClickAt(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

}  // namespace pelmora::test
