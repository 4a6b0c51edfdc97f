#include "base/win/error_display.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <optional>

#include "base/errors.h"
#include "base/win/handles.h"
#include "base/win/text.h"
#include "base/win/window.h"
#include "support/win/modal_watcher.h"
#include "support/win/platform_dialog.h"
#include "support/win/wait.h"

namespace pelmora::win {
namespace {

// What the watcher saw of the error box while it was up, before it closed it.
struct BoxWatch {
  HWND box = nullptr;
  std::string caption;
  std::string text;
  bool window_enabled_meanwhile = true;
};

std::string TextOf(HWND window) {
  wchar_t text[512] = {};
  const int n = ::GetWindowTextW(window, text, 512);
  return SjisFromWide(std::wstring_view(text, n > 0 ? n : 0));
}

// A window whose WM_APP handler raises what the test gives it.
class Thrower {
 public:
  std::function<void()> raise;
  bool finished = false;
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_APP) {
      raise();
      finished = true;
      return 1;
    }
    return ::DefWindowProcW(window, message, wparam, lparam);
  }
};

class ErrorDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = &AttachedWindowProc<Thrower>;
    window_class.hInstance = ::GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"ErrorDisplayTestWindow";
    RegisterWindowClass(window_class);
    owner_ = UniqueWindow(::CreateWindowExW(0, L"ErrorDisplayTestWindow", L"owner", WS_POPUP, 0,
                                            0, 0, 0, nullptr, nullptr, nullptr, &owner_thrower_));
    window_ = UniqueWindow(::CreateWindowExW(0, L"ErrorDisplayTestWindow", L"work",
                                             WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200, 100,
                                             nullptr, nullptr, nullptr, &thrower_));
    ASSERT_TRUE(owner_ && window_);
    ownership_.emplace(owner_.Get(), "Pelmora");
  }
  void TearDown() override { ownership_.reset(); }

  // Raises error inside the window's handler and returns what the box showed; a second
  // thread reads the box and presses its OK button.
  BoxWatch Raise(std::function<void()> error) {
    BoxWatch watch;
    thrower_.raise = std::move(error);
    thrower_.finished = false;
    ::SetActiveWindow(window_.Get());
    ::SetFocus(window_.Get());
    // The system's message box is the platform's: its OK button is pressed through BM_CLICK.
    result_ = test::Watched([&] { return ::SendMessageW(window_.Get(), WM_APP, 0, 0); },
                            [&](test::Watcher& watcher) {
                              HWND box = watcher.NextOrEnd({L"#32770"});
                              if (box == nullptr) return;
                              watch.box = box;
                              watch.caption = TextOf(box);
                              watch.text = TextOf(::GetDlgItem(box, 0xFFFF));
                              watch.window_enabled_meanwhile = ::IsWindowEnabled(window_.Get()) != FALSE;
                              ASSERT_TRUE(test::PressDialogButton(box, IDOK));
                              ASSERT_TRUE(watcher.WaitGone(box));
                            });
    return watch;
  }

  Thrower owner_thrower_;
  Thrower thrower_;
  UniqueWindow owner_;
  std::optional<ErrorDisplayOwnership> ownership_;
  UniqueWindow window_;
  LRESULT result_ = -1;
};

TEST_F(ErrorDisplay, ShowsTheMessageWithTheTitleAndGoesOn) {
  {  // A Japanese message gets an ASCII full stop; the rest of the handler is skipped.
    BoxWatch watch = Raise([] { throw Exception("クリップボードを開くことができません"); });
    ASSERT_TRUE(watch.box);
    EXPECT_EQ(watch.caption, "Pelmora");
    EXPECT_EQ(watch.text, "クリップボードを開くことができません.");
    EXPECT_FALSE(thrower_.finished);
    EXPECT_EQ(result_, 0);
    // Other windows were disabled while the box was up, and are enabled again after it.
    EXPECT_FALSE(watch.window_enabled_meanwhile);
    EXPECT_TRUE(::IsWindowEnabled(window_.Get()));
    EXPECT_FALSE(::IsWindow(watch.box));
    EXPECT_EQ(::GetActiveWindow(), window_.Get());
  }
  {  // A message ending in "." (or below it) is shown as it is; so are plain C++ errors.
    BoxWatch watch = Raise([] { throw std::runtime_error("disk full."); });
    ASSERT_TRUE(watch.box);
    EXPECT_EQ(watch.text, "disk full.");
  }
  {  // An OS error shows its code and the system's text.
    BoxWatch watch = Raise([] { throw EOSError(5, "denied"); });
    ASSERT_TRUE(watch.box);
    EXPECT_EQ(watch.text, "システムエラー。コード：5.\ndenied.");
  }
}

TEST_F(ErrorDisplay, DropsAbortSilently) {
  BoxWatch watch = Raise([] { throw EAbort(""); });
  EXPECT_FALSE(watch.box);
  EXPECT_FALSE(thrower_.finished);
  EXPECT_TRUE(::IsWindowEnabled(window_.Get()));
}

}  // namespace
}  // namespace pelmora::win
