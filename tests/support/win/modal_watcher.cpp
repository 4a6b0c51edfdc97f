#include "support/win/modal_watcher.h"

#include <string>
#include <string_view>

#include "support/win/wait.h"
#include "support/win/window_query.h"

namespace pelmora::test {
namespace {

// How long the modal work may take to end once the script is done: long enough for a
// command on large content.
constexpr DWORD kEndTimeoutMs = 60000;

// Visible, enabled, its controls made, and its thread back in its message loop: a message
// sent from another thread is answered only between two handlers.
bool Stands(HWND window) {
  DWORD_PTR ignored = 0;
  return ::IsWindowVisible(window) && ::IsWindowEnabled(window) &&
         ::GetWindow(window, GW_CHILD) != nullptr &&
         ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kStandTimeoutMs, &ignored);
}

}  // namespace

HWND Watcher::WaitFor(const wchar_t* class_name, HWND except) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        found = FindThreadWindow(thread_, class_name, except);
        return (found != nullptr && Stands(found)) || ended_;
      },
      kStandTimeoutMs);
  if (found != nullptr && Stands(found)) return found;
  ADD_FAILURE() << "no " << AsciiOf(class_name) << " stood up"
                << (ended_ ? " before the modal work ended" : " in time");
  return nullptr;
}

HWND Watcher::NextOrEnd(std::initializer_list<const wchar_t*> class_names) {
  HWND found = nullptr;
  const auto next = [&] {
    for (const wchar_t* name : class_names) {
      found = FindThreadWindow(thread_, name);
      if (found != nullptr && Stands(found)) return true;
    }
    found = nullptr;
    return ended_.load();
  };
  if (!WaitUntil(next, kEndTimeoutMs)) {
    ADD_FAILURE() << "neither a window stood up nor did the modal work end";
  }
  return found;
}

testing::AssertionResult Watcher::WaitGone(HWND window) {
  const std::string name = ClassOf(window);
  if (WaitUntil([&] { return !::IsWindow(window) || !::IsWindowVisible(window); },
                kStandTimeoutMs)) {
    return testing::AssertionSuccess();
  }
  return testing::AssertionFailure() << "the " << name << " stayed up";
}

void AwaitEnd(Watcher& watcher) {
  if (WaitUntil([&] { return watcher.Ended(); }, kEndTimeoutMs)) return;
  // The test has failed: what stands is closed as its own close command would close it
  // (Esc for a menu, WM_CLOSE for a window), only to bring the test's thread back.
  std::string left;
  while (!watcher.Ended()) {
    for (const wchar_t* name : {L"#32768", L"#32770", L"PelmoraMessageForm",
                                L"PelmoraPicturePreview", L"PelmoraAboutWindow"}) {
      if (HWND window = FindThreadWindow(watcher.Thread(), name)) {
        left += " " + AsciiOf(name);
        const bool menu = std::wstring_view(name) == L"#32768";
        ::PostMessageW(window, menu ? WM_KEYDOWN : WM_CLOSE, menu ? VK_ESCAPE : 0, 0);
      }
    }
    WaitUntil([&] { return watcher.Ended(); }, 1000);
  }
  ADD_FAILURE() << "the modal work did not end after the script; closed what stood:" << left;
}

}  // namespace pelmora::test
