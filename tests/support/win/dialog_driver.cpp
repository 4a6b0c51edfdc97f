#include "support/win/dialog_driver.h"

#include "support/win/wait.h"

namespace pelmora::test {

HWND FindThreadWindow(DWORD thread, const wchar_t* class_name, HWND except) {
  struct Search {
    const wchar_t* class_name;
    HWND except;
    HWND found = nullptr;
  } search{class_name, except};
  ::EnumThreadWindows(
      thread,
      [](HWND window, LPARAM pointer) -> BOOL {
        auto* s = reinterpret_cast<Search*>(pointer);
        wchar_t name[256] = {};
        ::GetClassNameW(window, name, 256);
        if (window == s->except || !::IsWindowVisible(window) ||
            std::wstring_view(name) != s->class_name) {
          return TRUE;
        }
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForThreadWindow(DWORD thread, const wchar_t* class_name, DWORD timeout_ms) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindThreadWindow(thread, class_name)) != nullptr; },
            timeout_ms);
  return found;
}

bool ThreadAnswers(HWND window, DWORD timeout_ms) {
  DWORD_PTR ignored = 0;
  return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeout_ms, &ignored) != 0;
}

bool WaitForDialogStanding(HWND dialog, DWORD timeout_ms) {
  return WaitUntil(
             [&] {
               return ::IsWindowVisible(dialog) && ::IsWindowEnabled(dialog) &&
                      ::GetWindow(dialog, GW_CHILD) != nullptr;
             },
             timeout_ms) &&
         ThreadAnswers(dialog, timeout_ms);
}

std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  ::GetWindowTextW(window, text, 1024);
  return text;
}

void PressButton(HWND dialog, int id) {
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

bool TypeFileName(HWND dialog, const std::wstring& name) {
  HWND box = ::GetDlgItem(dialog, 0x47C);
  if (box == nullptr) box = ::GetDlgItem(dialog, 0x480);
  if (box == nullptr) return false;
  ::SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
  return true;
}

}  // namespace pelmora::test
