#include "base/win/modal_loop.h"

#include <gtest/gtest.h>

#include "base/win/handles.h"

namespace pelmora::win {
namespace {

// Ends a modal loop that would otherwise not end, so a fault fails the test instead of
// hanging it: a thread timer whose message the loop's filter turns into the close.
class Deadline {
 public:
  explicit Deadline(bool& closed) : closed_(closed), timer_(::SetTimer(nullptr, 0, 5000, nullptr)) {}
  ~Deadline() { ::KillTimer(nullptr, timer_); }
  Deadline(const Deadline&) = delete;
  Deadline& operator=(const Deadline&) = delete;

  // For the loop's filter: true, with the loop closed, for the deadline's message.
  bool Ends(const MSG& message) {
    if (message.message != WM_TIMER || message.hwnd != nullptr || message.wParam != timer_) {
      return false;
    }
    passed_ = closed_ = true;
    return true;
  }
  bool Passed() const { return passed_; }

 private:
  bool& closed_;
  UINT_PTR timer_;
  bool passed_ = false;
};

UniqueWindow TopLevelWindow(const wchar_t* text, DWORD visible) {
  return UniqueWindow(::CreateWindowExW(0, L"STATIC", text, WS_OVERLAPPEDWINDOW | visible, 10,
                                        10, 200, 120, nullptr, nullptr, nullptr, nullptr));
}

TEST(ModalLoop, DisablesTheOtherWindowsUntilClosedThenGivesEverythingBack) {
  UniqueWindow other = TopLevelWindow(L"other", WS_VISIBLE);
  UniqueWindow modal = TopLevelWindow(L"modal", 0);
  ASSERT_TRUE(other && modal);
  HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20,
                                other.Get(), nullptr, nullptr, nullptr);
  ::SetActiveWindow(other.Get());
  ::SetFocus(edit);
  ASSERT_EQ(::GetFocus(), edit);

  {  // Closed by its own handler: the others are enabled, activation and focus come back.
    bool closed = false;
    bool other_enabled = true;
    bool modal_active = false;
    Deadline deadline(closed);
    ::PostMessageW(modal.Get(), WM_APP, 0, 0);
    RunModal({.window = modal.Get(), .closed = &closed, .filter = [&](MSG& message) {
                if (deadline.Ends(message)) return true;
                if (message.message != WM_APP) return false;
                other_enabled = ::IsWindowEnabled(other.Get()) != FALSE;
                modal_active = ::GetActiveWindow() == modal.Get();
                closed = true;
                return true;
              }});
    EXPECT_FALSE(deadline.Passed());
    EXPECT_FALSE(other_enabled);
    EXPECT_TRUE(modal_active);
    EXPECT_TRUE(::IsWindowEnabled(other.Get()));
    EXPECT_FALSE(::IsWindowVisible(modal.Get()));
    EXPECT_EQ(::GetActiveWindow(), other.Get());
    EXPECT_EQ(::GetFocus(), edit);
  }
  {  // A quit ends the loop and stays posted for the program's own loop.
    bool closed = false;
    Deadline deadline(closed);
    ::PostQuitMessage(7);
    RunModal({.window = modal.Get(), .closed = &closed, .filter = [&](MSG& message) {
                return deadline.Ends(message);
              }});
    EXPECT_FALSE(closed);
    EXPECT_TRUE(::IsWindowEnabled(other.Get()));
    MSG quit{};
    EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 7u);
  }
  {  // A window destroyed while modal ends the loop too.
    bool closed = false;
    Deadline deadline(closed);
    HWND doomed = modal.Release();
    ::PostMessageW(doomed, WM_APP, 0, 0);
    RunModal({.window = doomed, .closed = &closed, .filter = [&](MSG& message) {
                if (deadline.Ends(message)) return true;
                if (message.message != WM_APP) return false;
                ::DestroyWindow(doomed);
                return true;
              }});
    EXPECT_FALSE(closed);
    EXPECT_TRUE(::IsWindowEnabled(other.Get()));
  }
}

}  // namespace
}  // namespace pelmora::win
