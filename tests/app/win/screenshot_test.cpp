// The running program on the screen: the main window with "No Data", and its context
// menu opened by a right click on the panel and by the keyboard's context-menu key.
#include <gtest/gtest.h>

#include <functional>

#include "support/win/clipboard_text.h"
#include "support/win/input.h"
#include "support/win/pelmora_run.h"
#include "support/win/png.h"
#include "support/win/screenshot.h"

namespace pelmora {
namespace {

// Opens the menu as the user does (a right click, or the keyboard) and returns its window
// once it is on the screen.
HWND OpenMenu(test::PelmoraRun& run, const std::function<testing::AssertionResult()>& open) {
  EXPECT_TRUE(test::Activate(run.main()));
  EXPECT_TRUE(open());
  const DWORD thread = ::GetWindowThreadProcessId(run.main(), nullptr);
  HWND menu = nullptr;
  EXPECT_TRUE(test::WaitUntil([&] { return (menu = test::OpenMenuOf(thread)) != nullptr; }, 5000))
      << "no menu came up";
  return menu;
}

void CloseMenu(test::PelmoraRun& run) {
  const DWORD thread = ::GetWindowThreadProcessId(run.main(), nullptr);
  EXPECT_TRUE(test::PressKeysInMenu(thread, {VK_ESCAPE}));
  EXPECT_TRUE(test::WaitUntil([&] { return test::OpenMenuOf(thread) == nullptr; }, 5000));
}

TEST(Screenshots, MainWindowAndContextMenu) {
  // An empty clipboard: the window shows "No Data", whatever tests before left there.
  ASSERT_TRUE(test::OpenClipboardSoon());
  ::EmptyClipboard();
  ::CloseClipboard();
  test::PelmoraRun run;
  ASSERT_NE(run.main(), nullptr);
  EXPECT_TRUE(test::SaveWindowScreenshot(run.main(), test::ScreenshotPath("main-window.png")));

  HWND panel = ::GetWindow(run.main(), GW_CHILD);
  ASSERT_NE(panel, nullptr);
  {  // A right click on the panel.
    HWND menu = OpenMenu(run, [&] { return test::ClickAt(panel, POINT{60, 40}, true); });
    POINT click{60, 40};
    ::ClientToScreen(panel, &click);
    ASSERT_NE(menu, nullptr);
    RECT menu_rect, main_rect;
    ::GetWindowRect(menu, &menu_rect);
    ::GetWindowRect(run.main(), &main_rect);
    RECT both;
    ::UnionRect(&both, &menu_rect, &main_rect);
    const std::vector<std::uint8_t> rgb = test::CaptureSettledScreenRect(both);
    EXPECT_TRUE(test::WritePng(test::ScreenshotPath("context-menu.png"), both.right - both.left,
                               both.bottom - both.top, rgb));
    // It opens where the click was.
    EXPECT_LE(std::abs(menu_rect.left - click.x), 2);
    EXPECT_LE(std::abs(menu_rect.top - click.y), 2);
    CloseMenu(run);
  }
  {  // The keyboard's context-menu key (no position): at the window's client area.
    HWND menu = OpenMenu(run, [&] { return test::PressKeys(run.main(), {VK_APPS}); });
    ASSERT_NE(menu, nullptr);
    RECT menu_rect;
    ::GetWindowRect(menu, &menu_rect);
    POINT origin{0, 0};
    ::ClientToScreen(run.main(), &origin);
    EXPECT_LE(std::abs(menu_rect.left - origin.x), 2);
    EXPECT_LE(std::abs(menu_rect.top - origin.y), 2);
    CloseMenu(run);
  }
  EXPECT_TRUE(run.process().Running());
  EXPECT_EQ(run.Close(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace pelmora
