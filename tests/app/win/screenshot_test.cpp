// The running program on the screen: the main window with "No Data", and its context
// menu opened by a right click on the panel and by the keyboard's context-menu key.
#include <gtest/gtest.h>

#include "support/win/pelmora_run.h"
#include "support/win/png.h"
#include "support/win/screenshot.h"

namespace pelmora {
namespace {

// Opens the menu by message and returns its window once it is on the screen.
HWND OpenMenu(test::PelmoraRun& run, HWND target, UINT message, WPARAM wparam, LPARAM lparam) {
  ::PostMessageW(target, message, wparam, lparam);
  HWND menu = nullptr;
  test::WaitUntil([&] { return (menu = run.Find(L"#32768")) != nullptr; }, 5000);
  return menu;
}

void CloseMenu(test::PelmoraRun& run, HWND menu) {
  ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  ::PostMessageW(menu, WM_KEYUP, VK_ESCAPE, 0);
  if (!test::WaitUntil([&] { return run.Find(L"#32768") == nullptr; }, 3000)) {
    ::PostMessageW(run.main(), WM_CANCELMODE, 0, 0);
    test::WaitUntil([&] { return run.Find(L"#32768") == nullptr; }, 3000);
  }
}

TEST(Screenshots, MainWindowAndContextMenu) {
  test::PelmoraRun run;
  ASSERT_NE(run.main(), nullptr);
  test::PumpMessages(500);
  EXPECT_TRUE(test::SaveWindowScreenshot(run.main(), test::ScreenshotPath("main-window.png")));

  HWND panel = ::GetWindow(run.main(), GW_CHILD);
  ASSERT_NE(panel, nullptr);
  {  // A right click on the panel.
    HWND menu = OpenMenu(run, panel, WM_RBUTTONUP, 0, MAKELPARAM(60, 40));
    ASSERT_NE(menu, nullptr);
    test::PumpMessages(300);
    RECT menu_rect, main_rect;
    ::GetWindowRect(menu, &menu_rect);
    ::GetWindowRect(run.main(), &main_rect);
    RECT both;
    ::UnionRect(&both, &menu_rect, &main_rect);
    const std::vector<std::uint8_t> rgb = test::CaptureScreenRect(both);
    EXPECT_TRUE(test::WritePng(test::ScreenshotPath("context-menu.png"), both.right - both.left,
                               both.bottom - both.top, rgb));
    // It opens where the click was.
    POINT click{60, 40};
    ::ClientToScreen(panel, &click);
    EXPECT_LE(std::abs(menu_rect.left - click.x), 2);
    EXPECT_LE(std::abs(menu_rect.top - click.y), 2);
    CloseMenu(run, menu);
  }
  {  // The keyboard's context-menu key (no position): at the window's client area.
    HWND menu = OpenMenu(run, run.main(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(run.main()),
                         MAKELPARAM(-1, -1));
    ASSERT_NE(menu, nullptr);
    RECT menu_rect;
    ::GetWindowRect(menu, &menu_rect);
    POINT origin{0, 0};
    ::ClientToScreen(run.main(), &origin);
    EXPECT_LE(std::abs(menu_rect.left - origin.x), 2);
    EXPECT_LE(std::abs(menu_rect.top - origin.y), 2);
    CloseMenu(run, menu);
  }
  EXPECT_TRUE(run.process().Running());
  EXPECT_EQ(run.Close(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace pelmora
