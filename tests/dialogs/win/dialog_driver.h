#pragma once
// Drives the program's modal dialogs from a second thread while the test's thread sits in
// the dialog's modal loop: finds the dialog, types into it, presses its buttons. Every
// wait has a deadline; a driver that gives up cancels whatever dialog is still up, so the
// test's thread always comes back.
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace pelmora::test {

inline constexpr DWORD kDialogTimeoutMs = 20000;

// Polls condition until it holds or timeout_ms have passed.
inline bool PollUntil(const std::function<bool()>& condition, DWORD timeout_ms = kDialogTimeoutMs) {
  const ULONGLONG end = ::GetTickCount64() + timeout_ms;
  for (;;) {
    if (condition()) return true;
    if (::GetTickCount64() >= end) return condition();
    ::Sleep(20);
  }
}

// The first visible, enabled top-level window of thread with the class name.
inline HWND FindThreadWindow(DWORD thread, const wchar_t* class_name) {
  struct Search {
    const wchar_t* class_name;
    HWND found = nullptr;
  } search{class_name};
  ::EnumThreadWindows(
      thread,
      [](HWND window, LPARAM pointer) -> BOOL {
        auto* s = reinterpret_cast<Search*>(pointer);
        wchar_t name[256] = {};
        ::GetClassNameW(window, name, 256);
        if (!::IsWindowVisible(window) || std::wstring_view(name) != s->class_name) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

inline HWND WaitForThreadWindow(DWORD thread, const wchar_t* class_name,
                                DWORD timeout_ms = kDialogTimeoutMs) {
  HWND found = nullptr;
  PollUntil([&] { return (found = FindThreadWindow(thread, class_name)) != nullptr; },
            timeout_ms);
  return found;
}

inline std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  ::GetWindowTextW(window, text, 1024);
  return text;
}

// Presses a dialog button the way the dialog's own keyboard handling does.
inline void PressButton(HWND dialog, int id) {
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// Types a name into an explorer-style file dialog's file-name box (the combo box cmb13,
// or the edit edt1 of older layouts).
inline bool TypeFileName(HWND dialog, const std::wstring& name) {
  HWND box = ::GetDlgItem(dialog, 0x47C);
  if (box == nullptr) box = ::GetDlgItem(dialog, 0x480);
  if (box == nullptr) return false;
  ::SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
  return true;
}

// Brings a window of thread to the foreground, leaving the focus where its thread put it,
// and types text through the real keyboard input; "\r" presses Enter.
inline void TypeWithKeyboard(HWND window, DWORD thread, const std::wstring& text) {
  ::AttachThreadInput(::GetCurrentThreadId(), thread, TRUE);
  ::SetForegroundWindow(window);
  ::AttachThreadInput(::GetCurrentThreadId(), thread, FALSE);
  std::vector<INPUT> keys;
  for (const wchar_t c : text) {
    for (const DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT key{};
      key.type = INPUT_KEYBOARD;
      if (c == L'\r') {
        key.ki.wVk = VK_RETURN;
        key.ki.dwFlags = up;
      } else {
        key.ki.wScan = c;
        key.ki.dwFlags = KEYEVENTF_UNICODE | up;
      }
      keys.push_back(key);
    }
  }
  ::SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

// Runs script on a second thread for the lifetime of the object. The script gets the id of
// the thread that created the driver, whose windows it is to drive.
class DialogDriver {
 public:
  explicit DialogDriver(std::function<void(DWORD test_thread)> script)
      : thread_([script = std::move(script), id = ::GetCurrentThreadId()] { script(id); }) {}
  ~DialogDriver() {
    if (thread_.joinable()) thread_.join();
  }
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  void Join() {
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::thread thread_;
};

// Names of test files in a fresh folder under the system's temporary folder.
inline std::wstring FreshTempFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + name;
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

}  // namespace pelmora::test
