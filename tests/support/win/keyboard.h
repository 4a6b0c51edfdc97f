#pragma once
// Typing into windows from the Windows tests through the real keyboard input.
#include <windows.h>

namespace pelmora::test {

// Brings box to the foreground of its thread and presses Ctrl+C.
void PressCtrlC(HWND box, DWORD thread);

}  // namespace pelmora::test
