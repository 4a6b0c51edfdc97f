#pragma once
// Typing into windows from the Windows tests through the real keyboard input.
#include <windows.h>

#include <initializer_list>
#include <string>

namespace pelmora::test {

// Makes window's top-level window the foreground window; the keyboard input then goes to
// the focus its thread keeps.
void BringToForeground(HWND window);

// Brings window to the foreground of its thread and presses Ctrl with a key (Ctrl+C).
void PressWithCtrl(HWND window, DWORD thread, WORD virtual_key);
inline void PressCtrlC(HWND box, DWORD thread) { PressWithCtrl(box, thread, 'C'); }

// Brings window (of any thread or process) to the foreground and presses Alt with a key
// (Alt+F4 closes it).
void PressWithAlt(HWND window, WORD virtual_key);

// Presses and releases one key; it goes to the window with the keyboard focus.
void PressKey(WORD virtual_key);

// Presses the keys in order and releases them in the opposite order (Shift, End).
void PressChord(std::initializer_list<WORD> virtual_keys);

// Brings window to the foreground and presses one key there (Esc in a box).
void PressKeyIn(HWND window, WORD virtual_key);

// Brings a window of thread to the foreground, leaving the focus where its thread put it,
// and types text; "\r" presses Enter.
void TypeWithKeyboard(HWND window, DWORD thread, const std::wstring& text);

// Types text where the focus is, without bringing anything forward.
void TypeText(const std::wstring& text);

}  // namespace pelmora::test
