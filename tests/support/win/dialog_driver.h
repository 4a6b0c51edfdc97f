#pragma once
// Drives the program's modal dialogs from a second thread while the test's thread sits in
// the dialog's modal loop: finds the dialog, types into it, presses its buttons. Every
// wait has a deadline; a driver that gives up cancels whatever dialog is still up, so the
// test's thread always comes back.
#include <windows.h>

#include <functional>
#include <string>
#include <thread>

namespace pelmora::test {

inline constexpr DWORD kDialogTimeoutMs = 20000;

// The first visible top-level window of thread with the class name, other than except.
HWND FindThreadWindow(DWORD thread, const wchar_t* class_name, HWND except = nullptr);

HWND WaitForThreadWindow(DWORD thread, const wchar_t* class_name,
                         DWORD timeout_ms = kDialogTimeoutMs);

// True once window's thread has handled everything sent to it before this call: a message
// sent from another thread is answered only between two handlers.
bool ThreadAnswers(HWND window, DWORD timeout_ms = 5000);

// Waits until a dialog stands: visible, enabled, its controls made, and its thread back
// in the dialog's loop.
bool WaitForDialogStanding(HWND dialog, DWORD timeout_ms = 5000);

std::wstring WindowText(HWND window);

// Presses a dialog button as a user does: brings the dialog to the foreground and clicks
// the button with the mouse, or, when another window covers its middle, gives it the focus
// and presses Space. False when the dialog has no such button, the button is hidden or
// disabled, or the dialog is disabled (a box it opened is up).
bool PressButton(HWND dialog, int id);

// Presses the button (PressButton) of a dialog the press is to close, and waits until it
// has gone. A dialog that stays up is then closed with WM_CLOSE, so that the thread in its
// modal loop comes back whatever happened, and the answer is false.
bool CloseWithButton(HWND dialog, int id);

// Types a name into an explorer-style file dialog's file-name box (the combo box cmb13,
// or the edit edt1 of older layouts) as a user does: a click in the box, Home and
// Shift+End to select what it holds, and the name typed over it. True once the box holds
// the name.
bool TypeFileName(HWND dialog, const std::wstring& name);

// Chooses entry index of a combo box as a user does: a simple combo box's entry is clicked
// in its list; a drop-down list is given the focus, dropped with F4, walked with Home and
// Down and closed on the entry with Enter. True once the combo box has it selected and
// its list is closed.
bool ChooseInComboBox(HWND combo, int index);

// Clicks item index of a list view, scrolled into sight first; true once it is selected.
bool ClickListItem(HWND list, int index);

// Runs script on a second thread for the lifetime of the object. The script gets the id of
// the thread that created the driver, whose windows it is to drive.
class DialogDriver {
 public:
  explicit DialogDriver(std::function<void(DWORD test_thread)> script)
      : thread_([script = std::move(script), id = ::GetCurrentThreadId()] { script(id); }) {}
  ~DialogDriver() { Join(); }
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  void Join() {
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::thread thread_;
};

}  // namespace pelmora::test
