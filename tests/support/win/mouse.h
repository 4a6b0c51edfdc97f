#pragma once
// Clicking on windows from the Windows tests through the real mouse input.
#include <windows.h>

namespace pelmora::test {

// Moves the pointer to a screen point and clicks the left (or right) button there.
void ClickAt(POINT screen_point, bool right_button = false);

// Clicks the middle of a window, such as a box's button.
void ClickWindow(HWND window);

}  // namespace pelmora::test
