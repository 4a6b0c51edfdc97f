#include "support/win/modal_watcher.h"

#include <string>
#include <vector>

#include "support/win/wait.h"
#include "support/win/window_query.h"

namespace pelmora::test {
namespace {

// True once window's thread has handled everything sent to it before this call: a message
// sent from another thread is answered only between two handlers.
bool ThreadAnswers(HWND window) {
  DWORD_PTR ignored = 0;
  return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kStandTimeoutMs, &ignored) !=
         0;
}

bool Stands(HWND window) {
  return ::IsWindowVisible(window) && ::IsWindowEnabled(window) &&
         ::GetWindow(window, GW_CHILD) != nullptr;
}

// How long the modal work may take to end once the script is done: long enough for a
// command on large content.
constexpr DWORD kEndTimeoutMs = 60000;

}  // namespace

HWND Watcher::WaitFor(const wchar_t* class_name, HWND except) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        found = FindThreadWindow(thread_, class_name, except);
        return (found != nullptr && Stands(found)) || ended_;
      },
      kStandTimeoutMs);
  if (found == nullptr || !Stands(found) || !ThreadAnswers(found)) {
    ADD_FAILURE() << "no " << AsciiOf(class_name) << " stood up"
                  << (ended_ ? " before the modal work ended" : " in time");
    return nullptr;
  }
  return found;
}

HWND Watcher::NextOrEnd(std::initializer_list<const wchar_t*> class_names) {
  HWND found = nullptr;
  const bool came = WaitUntil(
      [&] {
        for (const wchar_t* name : class_names) {
          found = FindThreadWindow(thread_, name);
          if (found != nullptr && Stands(found)) return true;
        }
        found = nullptr;
        return ended_.load();
      },
      kEndTimeoutMs);
  if (!came) ADD_FAILURE() << "neither a window stood up nor did the modal work end";
  if (found != nullptr && !ThreadAnswers(found)) return nullptr;
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
  std::string left;
  while (!watcher.Ended()) {
    // Whatever stands is closed as its own close command would: Esc for a menu, WM_CLOSE
    // for a dialog or box. The test has failed already; this only brings its thread back.
    std::vector<HWND> standing;
    ::EnumThreadWindows(
        watcher.Thread(),
        [](HWND window, LPARAM list) -> BOOL {
          if (::IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&standing));
    for (HWND window : standing) {
      const std::string name = ClassOf(window);
      if (name != "#32768" && name != "#32770" && name != "PelmoraMessageForm" &&
          name != "PelmoraPicturePreview" && name != "PelmoraAboutWindow") {
        continue;
      }
      if (left.find(name) == std::string::npos) left += " " + name;
      if (name == "#32768") {
        ::PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
      } else {
        ::PostMessageW(window, WM_CLOSE, 0, 0);
      }
    }
    WaitUntil([&] { return watcher.Ended(); }, 1000);
  }
  ADD_FAILURE() << "the modal work did not end after the script; closed what stood:" << left;
}

}  // namespace pelmora::test
