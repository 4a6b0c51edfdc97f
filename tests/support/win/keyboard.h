#pragma once
// Typing into windows from the Windows tests through the real keyboard input.
#include <windows.h>

#include <string>

namespace pelmora::test {

// Brings window to the foreground of its thread and presses Ctrl with a key (Ctrl+C).
void PressWithCtrl(HWND window, DWORD thread, WORD virtual_key);
inline void PressCtrlC(HWND box, DWORD thread) { PressWithCtrl(box, thread, 'C'); }

// Brings window (of any thread or process) to the foreground and presses Alt with a key
// (Alt+F4 closes it).
void PressWithAlt(HWND window, WORD virtual_key);

// Presses and releases one key; it goes to the window with the keyboard focus.
void PressKey(WORD virtual_key);

// Brings a window of thread to the foreground, leaving the focus where its thread put it,
// and types text; "\r" presses Enter.
void TypeWithKeyboard(HWND window, DWORD thread, const std::wstring& text);

}  // namespace pelmora::test
