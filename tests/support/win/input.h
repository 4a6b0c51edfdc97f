#pragma once
// Real mouse and keyboard input, as a user gives it, for what is the program's own: its
// windows, its menu, its key handling, the focus its code sets (a dialog's first focus, a
// name typed there). Each input is sent once, after the condition that makes it land has
// come: the target's window is the foreground window, the control that is to take a key
// has its thread's focus, the point to be clicked reaches the control, no other window holds
// the mouse. When the condition never comes nothing is sent and the result says which one
// was missing.
//
// The inside of a platform dialog that the program only configures and reads back (the
// font dialog's lists, the open dialog's file list and buttons, a system message box) is
// not driven here but through its documented messages (platform_dialog.h): what a test
// checks there is the program's handling of the result, not the platform's controls.
#include <gtest/gtest.h>
#include <windows.h>

#include <initializer_list>
#include <string>

namespace pelmora::test {

inline constexpr DWORD kInputTimeoutMs = 10000;

// Test set-up, not input under test: makes window's top-level window the foreground window
// and waits until its thread has it active.
[[nodiscard]] testing::AssertionResult Activate(HWND window);

// Waits until control's top-level window is the foreground window and control, or a
// window inside it, has its thread's keyboard focus.
[[nodiscard]] testing::AssertionResult WaitForFocus(HWND control);

// Presses the keys in order and releases them in the opposite order (Ctrl, C), once focus
// has the keyboard (WaitForFocus).
[[nodiscard]] testing::AssertionResult PressKeys(HWND focus, std::initializer_list<WORD> keys);

// Types text (each character as itself; "\r" presses Enter) once focus has the keyboard.
[[nodiscard]] testing::AssertionResult TypeText(HWND focus, const std::wstring& text);

// Clicks the middle of control, or a point of its client area, with the left (or right)
// button, once its top-level window is the foreground window, the point reaches control
// and no window has the mouse captured.
[[nodiscard]] testing::AssertionResult Click(HWND control);
[[nodiscard]] testing::AssertionResult ClickAt(HWND control, POINT client_point,
                                               bool right_button = false);

// The menu the popup-menu loop of window's thread is showing; null when none is up.
HWND OpenMenuOf(DWORD thread);

// Waits until thread's popup-menu loop shows a menu and has the keyboard.
[[nodiscard]] testing::AssertionResult AwaitMenuKeyboard(DWORD thread);

// Presses keys in the menu that thread's popup-menu loop shows, once it is up.
[[nodiscard]] testing::AssertionResult PressKeysInMenu(DWORD thread,
                                                       std::initializer_list<WORD> keys);

// Chooses the item of command in the menu thread shows, with the keyboard (Up from the
// bottom to the item, then Enter). Succeeds once the menu has closed.
[[nodiscard]] testing::AssertionResult ChooseInOpenMenu(DWORD thread, UINT command);

// Opens window's context menu with a right click at a point of its client area and chooses
// an item with the keyboard: the last item for 0, the one above it for 1, and so on
// (separators are skipped, as the keyboard skips them). Succeeds once the menu has closed.
[[nodiscard]] testing::AssertionResult ChooseFromContextMenu(HWND window, POINT client_point,
                                                             int from_bottom);

}  // namespace pelmora::test
