#include "support/win/platform_dialog.h"

#include <commctrl.h>

#include "support/win/input.h"
#include "support/win/wait.h"
#include "support/win/window_query.h"

namespace pelmora::test {
namespace {

constexpr DWORD kActiveTimeoutMs = 10000;

testing::AssertionResult WaitActive(HWND dialog) {
  const DWORD thread = ::GetWindowThreadProcessId(dialog, nullptr);
  const auto active = [&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(thread, &info) && info.hwndActive == dialog &&
           ::IsWindowEnabled(dialog);
  };
  if (WaitUntil(active, kActiveTimeoutMs)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the " << ClassOf(dialog) << " \""
                                     << AsciiOf(WindowText(dialog).c_str())
                                     << "\" never became its thread's active window";
}

}  // namespace

testing::AssertionResult PressDialogButton(HWND dialog, int id) {
  HWND button = ::GetDlgItem(dialog, id);
  if (button == nullptr || !::IsWindowVisible(button) || !::IsWindowEnabled(button)) {
    return testing::AssertionFailure() << "the dialog has no button " << id << " to press";
  }
  if (auto active = WaitActive(dialog); !active) return active;
  if (!::SendNotifyMessageW(button, BM_CLICK, 0, 0)) {
    return testing::AssertionFailure() << "BM_CLICK was not sent: error " << ::GetLastError();
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult ChooseInDialogList(HWND dialog, int combo_id, int index) {
  HWND combo = ::GetDlgItem(dialog, combo_id);
  if (combo == nullptr) return testing::AssertionFailure() << "no list " << combo_id;
  if (auto active = WaitActive(dialog); !active) return active;
  if (::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0) != index) {
    return testing::AssertionFailure() << "list " << combo_id << " has no entry " << index;
  }
  for (const WORD code : {WORD{CBN_SELCHANGE}, WORD{CBN_SELENDOK}}) {
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(combo_id, code), reinterpret_cast<LPARAM>(combo));
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult SelectInFileList(HWND dialog, const std::wstring& name) {
  if (auto active = WaitActive(dialog); !active) return active;
  // The list is made anew when the dialog changes folder or filter, so it is looked up
  // afresh, and waited for until it lists the file.
  HWND list = nullptr;
  int index = -1;
  WaitUntil(
      [&] {
        HWND view = ::FindWindowExW(dialog, nullptr, L"SHELLDLL_DefView", nullptr);
        list = view ? ::FindWindowExW(view, nullptr, WC_LISTVIEWW, nullptr) : nullptr;
        if (list == nullptr) return false;
        LVFINDINFOW find{};
        find.flags = LVFI_STRING;
        find.psz = name.c_str();
        index = static_cast<int>(::SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1),
                                                reinterpret_cast<LPARAM>(&find)));
        return index >= 0;
      },
      kActiveTimeoutMs);
  if (index < 0) {
    return testing::AssertionFailure() << "the file list never listed "
                                       << AsciiOf(name.c_str());
  }
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&state));
  if (::SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED) == 0) {
    return testing::AssertionFailure() << "the file list did not select its entry " << index;
  }
  return testing::AssertionSuccess();
}

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

testing::AssertionResult TypeFileName(HWND dialog, const std::wstring& name) {
  HWND edit = FileNameEdit(dialog);
  if (edit == nullptr) return testing::AssertionFailure() << "the dialog has no file-name box";
  const auto selection_is = [&](int from, int to) {
    return [=] {
      DWORD start = 0, end = 0;
      ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
      return static_cast<int>(start) == from && static_cast<int>(end) == to;
    };
  };
  const int held = ::GetWindowTextLengthW(edit);
  if (auto ready = WaitForFocus(edit); !ready) return ready;
  if (!selection_is(0, held)()) {
    if (auto pressed = PressKeys(edit, {VK_HOME}); !pressed) return pressed;
    if (!WaitUntil(selection_is(0, 0), kInputTimeoutMs)) {
      return testing::AssertionFailure() << "Home did not move the caret to the start";
    }
    if (auto pressed = PressKeys(edit, {VK_SHIFT, VK_END}); !pressed) return pressed;
    if (!WaitUntil(selection_is(0, held), kInputTimeoutMs)) {
      return testing::AssertionFailure() << "Shift+End did not select the " << held
                                         << " characters the box held";
    }
  }
  if (auto typed = TypeText(edit, name); !typed) return typed;
  if (WaitUntil([&] { return WindowText(edit) == name; }, kInputTimeoutMs)) {
    return testing::AssertionSuccess();
  }
  return testing::AssertionFailure() << "the file-name box holds \""
                                     << AsciiOf(WindowText(edit).c_str()) << "\"";
}

std::wstring DialogText(HWND dialog) {
  if (HWND label = ::GetDlgItem(dialog, 0xFFFF)) return WindowText(label);
  std::wstring text;
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    text += WindowText(child);
  }
  return text;
}

}  // namespace pelmora::test
