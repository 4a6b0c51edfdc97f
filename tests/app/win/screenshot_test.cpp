// The running program on the screen: the main window with "No Data", and its context
// menu opened by a right click on the panel and by the keyboard's context-menu key.
#include <gtest/gtest.h>

#include <functional>

#include "support/win/clipboard_text.h"
#include "support/win/keyboard.h"
#include "support/win/mouse.h"
#include "support/win/pelmora_run.h"
#include "support/win/png.h"
#include "support/win/screenshot.h"

namespace pelmora {
namespace {

// Opens the menu as the user does (a right click, or the keyboard) and returns its window
// once it is on the screen.
HWND OpenMenu(test::PelmoraRun& run, const std::function<void()>& open) {
  ::SetForegroundWindow(run.main());
  test::WaitUntil([&] { return ::GetForegroundWindow() == run.main(); }, 3000);
  open();
  HWND menu = nullptr;
  test::WaitUntil([&] { return (menu = run.Find(L"#32768")) != nullptr; }, 5000);
  return menu;
}

void CloseMenu(test::PelmoraRun& run) {
  test::PressKey(VK_ESCAPE);
  EXPECT_TRUE(test::WaitUntil([&] { return run.Find(L"#32768") == nullptr; }, 3000));
}

TEST(Screenshots, PngChecksumsMatchTheirReferenceValues) {
  const std::string check = "123456789";
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(check.data());
  EXPECT_EQ(test::Crc32(bytes, check.size()), 0xCBF43926u);
  const std::string wiki = "Wikipedia";
  EXPECT_EQ(test::Adler32(reinterpret_cast<const std::uint8_t*>(wiki.data()), wiki.size()),
            0x11E60398u);
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
    POINT click{60, 40};
    ::ClientToScreen(panel, &click);
    HWND menu = OpenMenu(run, [&] { test::ClickAt(click, true); });
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
    HWND menu = OpenMenu(run, [] { test::PressKey(VK_APPS); });
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
