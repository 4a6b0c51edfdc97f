#include "support/win/input.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "support/win/wait.h"
#include "support/win/window_query.h"

namespace pelmora::test {
namespace {

GUITHREADINFO ThreadState(DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  ::GetGUIThreadInfo(thread, &info);
  return info;
}

DWORD ThreadOf(HWND window) { return ::GetWindowThreadProcessId(window, nullptr); }

// A control as a message names it: its class, its id and its top-level window's class.
std::string Describe(HWND control) {
  HWND root = ::GetAncestor(control, GA_ROOT);
  if (root == control || root == nullptr) return ClassOf(control);
  return ClassOf(control) + " " + std::to_string(::GetDlgCtrlID(control)) + " of " + ClassOf(root);
}

// What the foreground, active and focus windows were, for a failure's message.
std::string Seen(HWND target) {
  const GUITHREADINFO state = ThreadState(ThreadOf(target));
  return "; foreground " + ClassOf(::GetForegroundWindow()) + ", active " +
         ClassOf(state.hwndActive) + ", focus " + ClassOf(state.hwndFocus) + ", capture " +
         ClassOf(state.hwndCapture) + ((state.flags & GUI_INMENUMODE) ? ", in a menu" : "");
}

// Waits for an input's precondition. One that had not come yet when asked is noted on the
// error stream with how long it took: that is the input that would have been lost had it
// been sent at once.
bool AwaitPrecondition(const std::string& what, const std::function<bool()>& condition) {
  if (condition()) return true;
  const ULONGLONG start = ::GetTickCount64();
  const bool came = WaitUntil(condition, kInputTimeoutMs);
  std::fprintf(stderr, "input: %s %s after %llu ms\n", what.c_str(),
               came ? "came" : "never came", ::GetTickCount64() - start);
  return came;
}

bool IsForeground(HWND window) {
  HWND root = ::GetAncestor(window, GA_ROOT);
  return ::GetForegroundWindow() == root && ThreadState(ThreadOf(root)).hwndActive == root;
}

INPUT Key(WORD virtual_key, DWORD flags = 0) {
  switch (virtual_key) {
    case VK_HOME: case VK_END: case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_PRIOR: case VK_NEXT: case VK_INSERT: case VK_DELETE: case VK_APPS:
      flags |= KEYEVENTF_EXTENDEDKEY;
      break;
    default:
      break;
  }
  INPUT key{};
  key.type = INPUT_KEYBOARD;
  key.ki.wVk = virtual_key;
  key.ki.dwFlags = flags;
  return key;
}

testing::AssertionResult Send(std::vector<INPUT> inputs) {
  const UINT sent = ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  if (sent == inputs.size()) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "SendInput took " << sent << " of " << inputs.size()
                                     << " inputs (error " << ::GetLastError() << ")";
}

std::vector<INPUT> Chord(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (const WORD key : keys) inputs.push_back(Key(key));
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
    inputs.push_back(Key(*key, KEYEVENTF_KEYUP));
  }
  return inputs;
}

}  // namespace

testing::AssertionResult Activate(HWND window) {
  HWND root = ::GetAncestor(window, GA_ROOT);
  ::SetForegroundWindow(root);
  if (AwaitPrecondition(ClassOf(root) + " in the foreground", [&] { return IsForeground(root); })) {
    return testing::AssertionSuccess();
  }
  return testing::AssertionFailure() << ClassOf(root) << " never became the foreground window"
                                     << Seen(root);
}

testing::AssertionResult WaitForFocus(HWND control) {
  const auto has_keyboard = [&] {
    const GUITHREADINFO state = ThreadState(ThreadOf(control));
    return IsForeground(control) &&
           (state.hwndFocus == control || ::IsChild(control, state.hwndFocus)) &&
           (state.flags & GUI_INMENUMODE) == 0;
  };
  if (AwaitPrecondition("the keyboard focus in " + Describe(control), has_keyboard)) {
    return testing::AssertionSuccess();
  }
  return testing::AssertionFailure() << "the keyboard never reached " << Describe(control)
                                     << Seen(control);
}

testing::AssertionResult PressKeys(HWND focus, std::initializer_list<WORD> keys) {
  if (auto ready = WaitForFocus(focus); !ready) return ready;
  return Send(Chord(keys));
}

testing::AssertionResult TypeText(HWND focus, const std::wstring& text) {
  if (auto ready = WaitForFocus(focus); !ready) return ready;
  std::vector<INPUT> inputs;
  for (const wchar_t c : text) {
    for (const DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      if (c == L'\r') {
        inputs.push_back(Key(VK_RETURN, up));
      } else {
        INPUT key = Key(0, KEYEVENTF_UNICODE | up);
        key.ki.wScan = c;
        inputs.push_back(key);
      }
    }
  }
  return Send(std::move(inputs));
}

testing::AssertionResult Click(HWND control) {
  RECT client{};
  ::GetClientRect(control, &client);
  return ClickAt(control, POINT{client.right / 2, client.bottom / 2});
}

testing::AssertionResult ClickAt(HWND control, POINT client_point, bool right_button) {
  POINT point = client_point;
  ::ClientToScreen(control, &point);
  const auto reaches = [&] {
    HWND hit = ::WindowFromPoint(point);
    return IsForeground(control) && (hit == control || ::IsChild(control, hit)) &&
           ThreadState(ThreadOf(control)).hwndCapture == nullptr && ::IsWindowEnabled(control);
  };
  if (!AwaitPrecondition("a click reaching " + Describe(control), reaches)) {
    return testing::AssertionFailure()
           << "a click at (" << point.x << ", " << point.y << ") never reached "
           << Describe(control) << ": it reaches " << Describe(::WindowFromPoint(point))
           << Seen(control);
  }
  // Absolute positions run from 0 to 65535 across the primary screen.
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  std::vector<INPUT> inputs(3);
  const DWORD flags[3] = {
      MOUSEEVENTF_MOVE,
      DWORD{right_button ? DWORD{MOUSEEVENTF_RIGHTDOWN} : DWORD{MOUSEEVENTF_LEFTDOWN}},
      DWORD{right_button ? DWORD{MOUSEEVENTF_RIGHTUP} : DWORD{MOUSEEVENTF_LEFTUP}}};
  for (int i = 0; i < 3; ++i) {
    inputs[i].type = INPUT_MOUSE;
    inputs[i].mi.dx = ::MulDiv(point.x, 65535, width - 1);
    inputs[i].mi.dy = ::MulDiv(point.y, 65535, height - 1);
    inputs[i].mi.dwFlags = flags[i] | MOUSEEVENTF_ABSOLUTE;
  }
  return Send(std::move(inputs));
}

HWND OpenMenuOf(DWORD thread) {
  // Windows sets both flags for a popup menu; Wine sets only GUI_INMENUMODE.
  if ((ThreadState(thread).flags & (GUI_POPUPMENUMODE | GUI_INMENUMODE)) == 0) return nullptr;
  return FindThreadWindow(thread, L"#32768");
}

testing::AssertionResult AwaitMenuKeyboard(DWORD thread) {
  // A menu's keys go to the foreground thread, whose menu loop reads them.
  const auto menu_has_keyboard = [&] {
    return OpenMenuOf(thread) != nullptr && ThreadOf(::GetForegroundWindow()) == thread;
  };
  if (AwaitPrecondition("a menu with the keyboard", menu_has_keyboard)) {
    return testing::AssertionSuccess();
  }
  return testing::AssertionFailure() << "no menu of the thread came up with the keyboard; "
                                     << "foreground " << ClassOf(::GetForegroundWindow());
}

testing::AssertionResult PressKeysInMenu(DWORD thread, std::initializer_list<WORD> keys) {
  if (auto ready = AwaitMenuKeyboard(thread); !ready) return ready;
  return Send(Chord(keys));
}

namespace {

// Chooses the item from_bottom places above the last one of thread's open menu with the
// keyboard: with nothing selected, Up selects the last item, and Up skips separators.
testing::AssertionResult ChooseFromBottom(DWORD thread, int from_bottom) {
  std::vector<INPUT> inputs;
  for (int i = 0; i <= from_bottom; ++i) {
    for (INPUT& key : Chord({VK_UP})) inputs.push_back(key);
  }
  for (INPUT& key : Chord({VK_RETURN})) inputs.push_back(key);
  if (auto ready = AwaitMenuKeyboard(thread); !ready) return ready;
  if (auto sent = Send(std::move(inputs)); !sent) return sent;
  if (WaitUntil([&] { return OpenMenuOf(thread) == nullptr; }, kInputTimeoutMs)) {
    return testing::AssertionSuccess();
  }
  return testing::AssertionFailure() << "the menu stayed up after Enter";
}

}  // namespace

testing::AssertionResult ChooseInOpenMenu(DWORD thread, UINT command) {
  if (auto ready = AwaitMenuKeyboard(thread); !ready) return ready;
  HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(OpenMenuOf(thread), MN_GETHMENU, 0, 0));
  // The items the keyboard stops at (separators are skipped), and where Up starts from: the
  // item the pointer may already have highlighted, else below the last.
  std::vector<int> stops;
  int target = -1, from = -1;
  for (int i = 0, n = ::GetMenuItemCount(menu); i < n; ++i) {
    const UINT state = ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
    if (state & MF_SEPARATOR) continue;
    if (::GetMenuItemID(menu, i) == command) target = static_cast<int>(stops.size());
    if (state & MF_HILITE) from = static_cast<int>(stops.size());
    stops.push_back(i);
  }
  if (target < 0) {
    return testing::AssertionFailure() << "the open menu has no item of command " << command;
  }
  const int n = static_cast<int>(stops.size());
  const int ups = from < 0 ? n - target : (from - target + n) % n;
  std::vector<INPUT> inputs;
  for (int i = 0; i < ups; ++i) {
    for (INPUT& key : Chord({VK_UP})) inputs.push_back(key);
  }
  if (auto sent = Send(std::move(inputs)); !sent) return sent;
  const auto on_target = [&] {
    return (::GetMenuState(menu, static_cast<UINT>(stops[target]), MF_BYPOSITION) & MF_HILITE) != 0;
  };
  if (!WaitUntil(on_target, kInputTimeoutMs)) {
    return testing::AssertionFailure() << "Up did not bring the menu to the item of command "
                                       << command;
  }
  if (auto sent = Send(Chord({VK_RETURN})); !sent) return sent;
  if (WaitUntil([&] { return OpenMenuOf(thread) == nullptr; }, kInputTimeoutMs)) {
    return testing::AssertionSuccess();
  }
  return testing::AssertionFailure() << "the menu stayed up after Enter";
}

testing::AssertionResult ChooseFromContextMenu(HWND window, POINT client_point,
                                               int from_bottom) {
  if (auto clicked = ClickAt(window, client_point, true); !clicked) return clicked;
  return ChooseFromBottom(ThreadOf(window), from_bottom);
}

}  // namespace pelmora::test
