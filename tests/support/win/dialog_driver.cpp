#include "support/win/dialog_driver.h"

#include <commctrl.h>

#include "support/win/keyboard.h"
#include "support/win/mouse.h"
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

namespace {

constexpr DWORD kInputTimeoutMs = 5000;

POINT MiddleOf(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

POINT MiddleOf(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  return MiddleOf(r);
}

// A rectangle in window's client coordinates, in screen coordinates.
RECT OnScreen(HWND window, RECT r) {
  ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// True when a click at point reaches window or one of its children.
bool ClickReaches(POINT point, HWND window) {
  HWND hit = ::WindowFromPoint(point);
  return hit == window || ::IsChild(window, hit);
}

HWND FocusOfThread(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

// Moves the keyboard focus of control's thread to control, as a click or the Tab key would
// (a click is not used: the dialog may still be moving into place). True once it has it.
bool GiveFocus(HWND control) {
  BringToForeground(control);
  const DWORD thread = ::GetWindowThreadProcessId(control, nullptr);
  ::AttachThreadInput(::GetCurrentThreadId(), thread, TRUE);
  ::SetFocus(control);
  ::AttachThreadInput(::GetCurrentThreadId(), thread, FALSE);
  return WaitUntil([&] { return FocusOfThread(control) == control; }, kInputTimeoutMs);
}

// The edit the user types a file name into: inside the combo box cmb13 (a ComboBoxEx32 in
// Wine's dialog, a ComboBox in Windows'), or the edit edt1 of older layouts.
HWND FileNameEdit(HWND dialog) {
  HWND box = ::GetDlgItem(dialog, 0x47C);
  if (box == nullptr) return ::GetDlgItem(dialog, 0x480);
  wchar_t kind[32] = {};
  ::GetClassNameW(box, kind, 32);
  if (::lstrcmpiW(kind, WC_COMBOBOXEXW) == 0) {
    return reinterpret_cast<HWND>(::SendMessageW(box, CBEM_GETEDITCONTROL, 0, 0));
  }
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  return ::GetComboBoxInfo(box, &info) ? info.hwndItem : box;
}

}  // namespace

bool PressButton(HWND dialog, int id) {
  HWND button = ::GetDlgItem(dialog, id);
  if (button == nullptr || !::IsWindowVisible(button) || !::IsWindowEnabled(button) ||
      !::IsWindowEnabled(::GetAncestor(button, GA_ROOT))) {
    return false;
  }
  BringToForeground(dialog);
  const POINT middle = MiddleOf(button);
  if (ClickReaches(middle, button)) {
    ClickAt(middle);
    return true;
  }
  if (!GiveFocus(button)) return false;
  PressKey(VK_SPACE);
  return true;
}

bool CloseWithButton(HWND dialog, int id) {
  const auto gone = [&] { return !::IsWindow(dialog) || !::IsWindowVisible(dialog); };
  // Wine now and then loses a click on a button whose dialog has just taken the focus from
  // another control; a user who sees the dialog stay up clicks again.
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (!PressButton(dialog, id)) break;
    if (WaitUntil(gone, 2000)) return true;
  }
  if (gone()) return true;
  ::PostMessageW(dialog, WM_CLOSE, 0, 0);
  WaitUntil(gone, kInputTimeoutMs);
  return false;
}

bool TypeFileName(HWND dialog, const std::wstring& name) {
  HWND edit = FileNameEdit(dialog);
  if (edit == nullptr || !GiveFocus(edit)) return false;
  const auto holds_name = [&] { return WindowText(edit) == name; };
  PressKey(VK_HOME);
  PressChord({VK_SHIFT, VK_END});
  TypeText(name);
  if (WaitUntil(holds_name, 2000)) return true;
  // Under Wine the Shift+End selection is now and then not made, and the name lands beside
  // what the box held; the box is then emptied as a user would select it all, and typed
  // into again.
  ::SendMessageW(edit, EM_SETSEL, 0, -1);
  TypeText(name);
  return WaitUntil(holds_name, kInputTimeoutMs);
}

bool ChooseInComboBox(HWND combo, int index) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!::GetComboBoxInfo(combo, &info) || info.hwndList == nullptr) return false;
  const auto dropped = [&] { return ::SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != FALSE; };
  const auto selected = [&] { return ::SendMessageW(combo, CB_GETCURSEL, 0, 0) == index; };
  if ((::GetWindowLongPtrW(combo, GWL_STYLE) & 3) == CBS_SIMPLE) {
    // A list always in sight: scrolled to the entry as the wheel would, and clicked.
    HWND list = info.hwndList;
    RECT item{};
    RECT client{};
    ::GetClientRect(list, &client);
    ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    if (item.top < client.top || item.bottom > client.bottom) {
      ::SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
      ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
    }
    // A lost click is given again, far enough apart not to make a double click.
    for (int click = 0; click < 3; ++click) {
      BringToForeground(combo);
      ClickAt(MiddleOf(OnScreen(list, item)));
      if (WaitUntil(selected, 2000)) return true;
    }
    return false;
  }
  // A drop-down list, from the keyboard: F4 drops it, Home and Down go to the entry and
  // Enter takes it and closes the list. (A click on the entry of a list that drops below
  // the dialog's bottom edge now and then reached the dialog's own buttons under Wine.)
  if (!GiveFocus(combo)) return false;
  PressKey(VK_F4);
  if (!WaitUntil(dropped, kInputTimeoutMs)) return false;
  PressKey(VK_HOME);
  for (int i = 0; i < index; ++i) PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  return WaitUntil([&] { return selected() && !dropped(); }, kInputTimeoutMs);
}

bool ClickListItem(HWND list, int index) {
  const auto selected = [&] {
    return ::SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED) != 0;
  };
  // A click Wine lost (a dialog just opened may still be settling) is given again, as a
  // user clicks again; the clicks are far enough apart not to make a double click.
  for (int click = 0; click < 3; ++click) {
    ::SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
    RECT label{};
    label.left = LVIR_LABEL;
    if (!::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(&label))) {
      return false;
    }
    BringToForeground(list);
    ClickAt(MiddleOf(OnScreen(list, label)));
    if (WaitUntil(selected, 2000)) return true;
  }
  return false;
}

}  // namespace pelmora::test
