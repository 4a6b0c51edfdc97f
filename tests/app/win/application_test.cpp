// The application window stands for the running program: minimising and restoring go
// through it.
#include <gtest/gtest.h>

#include "support/win/input.h"
#include "support/win/pelmora_run.h"
#include "support/win/window_query.h"

namespace pelmora {
namespace {

TEST(Application, MinimisingHidesTheMainWindowAndRestoringBringsItBack) {
  test::PelmoraRun run;
  ASSERT_NE(run.main(), nullptr);
  HWND application = ::GetWindow(run.main(), GW_OWNER);
  ASSERT_NE(application, nullptr);
  // A click on the title bar's minimise button, found where the window says it is.
  TITLEBARINFO bar{};
  bar.cbSize = sizeof bar;
  ASSERT_TRUE(::GetTitleBarInfo(run.main(), &bar));
  POINT minimise{bar.rcTitleBar.right, (bar.rcTitleBar.top + bar.rcTitleBar.bottom) / 2};
  while (minimise.x > bar.rcTitleBar.left &&
         ::SendMessageW(run.main(), WM_NCHITTEST, 0, MAKELPARAM(minimise.x, minimise.y)) !=
             HTMINBUTTON) {
    --minimise.x;
  }
  ASSERT_GT(minimise.x, bar.rcTitleBar.left) << "no minimise button on the title bar";
  POINT at{minimise.x - 3, minimise.y};
  ::ScreenToClient(run.main(), &at);
  ASSERT_TRUE(test::ClickAt(run.main(), at));
  EXPECT_TRUE(test::WaitUntil([&] { return ::IsIconic(application) != FALSE; }, 5000));
  EXPECT_TRUE(test::WaitUntil([&] { return !::IsWindowVisible(run.main()); }, 5000));
  // What a click on the taskbar button sends (the test display has no taskbar to click).
  ::PostMessageW(application, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(test::WaitUntil([&] { return ::IsWindowVisible(run.main()) != FALSE; }, 5000));
  EXPECT_FALSE(::IsIconic(application));
  EXPECT_FALSE(::IsIconic(run.main()));
  EXPECT_EQ(run.Close(), std::optional<DWORD>(0));
}

// The title comes from the program file's name, Pelmora.exe: it is the text of the
// application window, which carries the taskbar button.
TEST(Application, TitleIsTakenFromTheProgramFile) {
  test::PelmoraRun run;
  ASSERT_NE(run.main(), nullptr);
  HWND application = ::GetWindow(run.main(), GW_OWNER);
  ASSERT_NE(application, nullptr);
  EXPECT_EQ(test::WindowTextSjis(application), "Pelmora");
  EXPECT_EQ(run.Close(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace pelmora
