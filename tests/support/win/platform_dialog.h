#pragma once
// The inside of the platform's dialogs (the file and font dialogs, system message boxes),
// which the program only configures and reads back, driven through their documented
// messages and notifications: a button through BM_CLICK, a list through its selection
// message and the notification its parent gets from it. What the program does with the
// result is what the tests check; the platform's own controls are not theirs to test.
// Each is sent once, after the dialog is the active window of its thread, as BM_CLICK
// requires.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace pelmora::test {

// Presses a dialog's button with BM_CLICK (sent without waiting for the dialog to answer,
// since the press may open a box of its own).
[[nodiscard]] testing::AssertionResult PressDialogButton(HWND dialog, int id);

// Chooses entry index of a dialog's combo box (CB_SETCURSEL), and tells the dialog as the
// combo box tells it of a choice made in its list (CBN_SELCHANGE, CBN_SELENDOK).
[[nodiscard]] testing::AssertionResult ChooseInDialogList(HWND dialog, int combo_id, int index);

// Selects the file called name in a file dialog's file list (LVM_SETITEMSTATE), which tells
// the dialog through the list's own notification.
[[nodiscard]] testing::AssertionResult SelectInFileList(HWND dialog, const std::wstring& name);

// The edit of a file dialog's file-name box (the combo box cmb13, or the edit edt1 of
// older layouts).
HWND FileNameEdit(HWND dialog);

// Types name into a file dialog's file-name box with the real keyboard, as a user does:
// the name is the user's, and the box has the focus the dialog gives it when it opens.
// What the box holds is selected first (Home, then Shift+End, each once the one before it
// has landed), so that the name replaces it. Succeeds once the box holds the name.
[[nodiscard]] testing::AssertionResult TypeFileName(HWND dialog, const std::wstring& name);

// The text a dialog or box shows (the static text of a system message box, or every
// child's text run together).
std::wstring DialogText(HWND dialog);

}  // namespace pelmora::test
