#pragma once
// The one way the Windows tests drive what their thread shows modally (a dialog, a box, a
// menu): Watched runs the modal work on the test's thread while a script on a watcher
// thread waits for each window of the test's thread to stand, acts on it and notes what it
// saw. The script fails the test (gtest's assertions work on the watcher thread) saying
// which window never came or which input never landed. Once the script has returned, the
// modal work must end by itself; whatever it left standing is reported as a failure and
// closed, so that the test's thread always comes back.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <initializer_list>
#include <thread>

namespace pelmora::test {

inline constexpr DWORD kStandTimeoutMs = 20000;

class Watcher {
 public:
  explicit Watcher(DWORD thread) : thread_(thread) {}

  // The test's thread, whose windows are watched.
  DWORD Thread() const { return thread_; }
  // True once the modal work on the test's thread has returned.
  bool Ended() const { return ended_; }

  // Waits until a top-level window of the test's thread of the class stands: visible,
  // enabled, its controls made and its thread back in its message loop. Null, with the test
  // failed, when none does in time or the modal work ends first.
  HWND WaitFor(const wchar_t* class_name, HWND except = nullptr);

  // The same for the first of several classes to stand; the end of the modal work is an
  // answer here, null without a failure.
  HWND NextOrEnd(std::initializer_list<const wchar_t*> class_names);

  // Waits until window has been hidden or destroyed.
  [[nodiscard]] testing::AssertionResult WaitGone(HWND window);

  void End() { ended_ = true; }

 private:
  DWORD thread_;
  std::atomic<bool> ended_{false};
};

// After the script: waits for the modal work to end and, when it does not, fails the test
// and closes what still stands.
void AwaitEnd(Watcher& watcher);

// Runs modal() on this thread while script(watcher) runs on a watcher thread; returns what
// modal() returned once both are done.
template <class Modal>
auto Watched(Modal&& modal, const std::function<void(Watcher&)>& script) {
  Watcher watcher(::GetCurrentThreadId());
  std::thread thread([&] {
    script(watcher);
    AwaitEnd(watcher);
  });
  struct Joiner {
    Watcher& watcher;
    std::thread& thread;
    ~Joiner() {
      watcher.End();
      thread.join();
    }
  } joiner{watcher, thread};
  return modal();
}

}  // namespace pelmora::test
