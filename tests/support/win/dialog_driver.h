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

// Presses a dialog button the way the dialog's own keyboard handling does.
void PressButton(HWND dialog, int id);

// Types a name into an explorer-style file dialog's file-name box (the combo box cmb13,
// or the edit edt1 of older layouts).
bool TypeFileName(HWND dialog, const std::wstring& name);

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
