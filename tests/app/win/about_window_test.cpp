#include "app/win/about_window.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/menu_command.h"
#include "app/win/application.h"
#include "pelmora_version.h"
#include "support/win/input.h"
#include "support/win/menus.h"
#include "support/win/pelmora_run.h"
#include "support/win/screenshot.h"

namespace pelmora {
namespace {

using test::Scaled;

std::vector<std::string> ChildTexts(HWND window) {
  std::vector<std::string> texts;
  for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    texts.push_back(test::WindowTextSjis(child));
  }
  return texts;
}

TEST(AboutWindow, WindowAsDesigned) {
  TApplication application(::GetModuleHandleW(nullptr));
  AboutWindow about(application);
  HWND window = about.Handle();
  EXPECT_FALSE(::IsWindowVisible(window));  // created hidden
  EXPECT_EQ(test::WindowTextSjis(window), "Help");
  const LONG style = ::GetWindowLongW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
  RECT rect;
  ::GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, Scaled(367));
  EXPECT_EQ(rect.top, Scaled(94));
  EXPECT_EQ(rect.right - rect.left, Scaled(350));
  EXPECT_EQ(rect.bottom - rect.top, Scaled(195));
  const std::vector<std::string> expected{"Ver " PELMORA_VERSION_TEXT, "バージョンアップは",
                                          "https://pelmora.example/", "このプログラムに付いて",
                                          "support@pelmora.example"};
  EXPECT_EQ(ChildTexts(window), expected);
  // The group box and the labels inside it, at their designed places.
  HWND group = ::GetWindow(window, GW_CHILD);
  RECT group_rect;
  ::GetWindowRect(group, &group_rect);
  ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&group_rect), 2);
  EXPECT_EQ(group_rect.left, Scaled(16));
  EXPECT_EQ(group_rect.top, Scaled(12));
  EXPECT_EQ(group_rect.right - group_rect.left, Scaled(313));
  EXPECT_EQ(group_rect.bottom - group_rect.top, Scaled(141));
  HWND contact = ::GetWindow(::GetWindow(::GetWindow(::GetWindow(group, GW_HWNDNEXT), GW_HWNDNEXT),
                                         GW_HWNDNEXT), GW_HWNDNEXT);
  RECT contact_rect;
  ::GetWindowRect(contact, &contact_rect);
  ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&contact_rect), 2);
  EXPECT_EQ(contact_rect.left, Scaled(16) + Scaled(89));
  EXPECT_EQ(contact_rect.top, Scaled(12) + Scaled(107));
}

TEST(AboutWindow, ModalOverTheMainWindowAndShownAgainUnchanged) {
  test::PelmoraRun run;
  ASSERT_NE(run.main(), nullptr);
  const UINT about_command = CommandIdOf(MenuCommand::ShowAbout);
  RECT first_place{};
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    // "ソフトに付いて", next to last in the menu.
    ASSERT_TRUE(test::ChooseFromContextMenu(run.main(), POINT{60, 40}, 1));
    HWND about = nullptr;
    ASSERT_TRUE(test::WaitUntil([&] { return (about = run.Find(L"PelmoraAboutWindow")) != nullptr; }));
    EXPECT_TRUE(test::WaitUntil([&] { return !::IsWindowEnabled(run.main()); }, 5000));
    RECT place;
    ::GetWindowRect(about, &place);
    if (round == 0) {
      first_place = place;
      EXPECT_EQ(place.left, Scaled(367));
      EXPECT_EQ(place.top, Scaled(94));
      test::SaveWindowScreenshot(about, test::ScreenshotPath("about-window.png"));
    } else {
      EXPECT_TRUE(::EqualRect(&place, &first_place));
    }
    // A second request while it is up changes nothing (no user can make one: the menu's
    // window is disabled; a stray command must not open the window twice).
    ::PostMessageW(run.main(), WM_COMMAND, about_command, 0);
    ASSERT_TRUE(test::PressKeys(about, {VK_MENU, VK_F4}));
    EXPECT_TRUE(test::WaitUntil([&] { return !::IsWindowVisible(about); }, 5000));
    EXPECT_TRUE(test::WaitUntil([&] { return ::IsWindowEnabled(run.main()) != FALSE; }, 5000));
    EXPECT_TRUE(::IsWindow(about));  // hidden, not destroyed
    EXPECT_TRUE(run.process().Running());
  }
  EXPECT_EQ(run.Close(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace pelmora
