// The program at every display scale. Wine reads the session's scale when a process starts,
// so each scale runs in a process of its own: this test program, started again at the
// scale, measures its windows into a file, and every measure must be the one at 96 scaled,
// within a pixel. WM_DPICHANGED, which Wine never sends, is sent as the system sends it.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "app/clipboard_fit.h"
#include "app/win/about_window.h"
#include "app/win/application.h"
#include "app/win/clipboard_view.h"
#include "app/win/main_window.h"
#include "app/win/program.h"
#include "base/muldiv.h"
#include "base/win/display_scale.h"
#include "dialogs/win/font_dialog.h"
#include "richtext/win/rich_edit.h"
#include "support/temp_folder.h"
#include "support/win/clipboard_text.h"
#include "support/win/input.h"
#include "support/win/menus.h"
#include "support/win/pelmora_run.h"
#include "support/win/screenshot.h"
#include "support/win/session_scale.h"
#include "view/image.h"
#include "view/win/panel.h"

namespace pelmora {
namespace {

constexpr wchar_t kMeasuresFile[] = L"PELMORA_SCALE_MEASURES";

int CharacterHeight(HFONT font) {
  win::WindowDc screen(nullptr);
  win::SelectedObject selected(screen.Get(), font);
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(screen.Get(), &metrics);
  return metrics.tmHeight - metrics.tmInternalLeading;
}

int LineHeight(HWND view) {
  POINTL first{}, second{};
  ::SendMessageW(view, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&first), 0);
  ::SendMessageW(view, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&second),
                 ::SendMessageW(view, EM_LINEINDEX, 1, 0));
  return second.y - first.y;
}

SIZE WindowSize(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// The clipboard's lines in the text view, in the view's own font.
void ShowLines(MainWindow& form, int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) text += "line " + std::to_string(i) + "\r\n";
  ASSERT_TRUE(test::PutClipboardText(text));
  test::RunMenuCommand(form.Handle(), MenuCommand::LookAgain);
}

TEST(DisplayScaleProbe, MeasureWindows) {
  wchar_t path[MAX_PATH] = {};
  if (!::GetEnvironmentVariableW(kMeasuresFile, path, MAX_PATH)) {
    GTEST_SKIP() << "run at each scale by DisplayScale.EveryWindowMatchesEveryScale";
  }
  Program program(::GetModuleHandleW(nullptr));
  MainWindow& form = program.Window();
  AboutWindow& about = program.About();
  ShowLines(form, 2);
  const int default_line = LineHeight(form.View().TextView().Handle());
  form.View().TextView().SelectAll();
  form.View().TextView().SetSelSize(9);
  EXPECT_EQ(TFontDialog().FontSize(), 9) << "the font dialog opens at 9 points at any scale";
  std::ofstream(path) << "session " << win::SystemPixelsPerInch()                        //
                      << "\nmain.width " << test::ClientSize(form.Handle()).cx         //
                      << "\nmain.height " << test::ClientSize(form.Handle()).cy        //
                      << "\ncaption " << CharacterHeight(form.View().Panel().CaptionFont())  //
                      << "\nline.default " << default_line                             //
                      << "\nline.9pt " << LineHeight(form.View().TextView().Handle())        //
                      << "\nabout.width " << WindowSize(about.Handle()).cx             //
                      << "\nabout.height " << WindowSize(about.Handle()).cy << '\n';
}

TEST(DisplayScale, EveryWindowMatchesEveryScale) {
  const std::filesystem::path folder = test::EmptyTempFolder(L"pelmora-scales");
  std::map<int, std::map<std::string, int>> at;
  for (int ppi : {96, 120, 144, 192}) {
    const std::filesystem::path file = folder / std::to_string(ppi);
    EXPECT_EQ(test::RunTestsAtScale(ppi, "DisplayScaleProbe.*", kMeasuresFile, file.wstring()),
              std::optional<DWORD>(0)) << ppi;
    std::ifstream in(file);
    std::string name;
    int value = 0;
    while (in >> name >> value) at[ppi][name] = value;
  }
  ASSERT_EQ(at[96].size(), 8u);
  for (auto& [ppi, measures] : at) {
    EXPECT_EQ(measures["session"], ppi) << "the process did not run at the scale";
    for (const auto& [name, at_96] : at[96]) {
      if (name != "session") {
        EXPECT_NEAR(measures[name], MulDiv(at_96, ppi, 96), 1) << name << " at " << ppi;
      }
    }
  }
}

TEST(DisplayScale, ScreenshotsAtOneAndAHalfAndTwiceTheSize) {
  for (int ppi : {144, 192}) {
    const auto path = [ppi](const char* name) {
      return test::ScreenshotPath((name + std::to_string(ppi) + ".png").c_str());
    };
    ASSERT_TRUE(test::OpenClipboardSoon());
    ::EmptyClipboard();
    ::CloseClipboard();
    std::unique_ptr<test::PelmoraRun> run;
    {
      test::ScopedSessionScale scale(ppi);
      run = std::make_unique<test::PelmoraRun>();
    }
    ASSERT_NE(run->main(), nullptr);
    test::SaveWindowScreenshot(run->main(), path("no-data-"));
    ASSERT_TRUE(test::PutClipboardText("テキストビュー: 画面の倍率で\r\nText at the display's scale"));
    HWND panel = ::GetWindow(run->main(), GW_CHILD);
    ASSERT_TRUE(test::WaitUntil([&] { return ::IsWindowVisible(::GetWindow(panel, GW_CHILD)); }));
    test::SaveWindowScreenshot(run->main(), path("text-view-"));
    // "ソフトに付いて", next to last in the menu.
    ASSERT_TRUE(test::ChooseFromContextMenu(run->main(), POINT{60, 40}, 1));
    HWND about = nullptr;
    // Up and painted once its modal loop runs, which disables the main window.
    ASSERT_TRUE(test::WaitUntil([&] {
      return (about = run->Find(L"PelmoraAboutWindow")) != nullptr && !::IsWindowEnabled(run->main());
    }));
    test::SaveWindowScreenshot(about, path("about-window-"));
    ASSERT_TRUE(test::PressKeys(about, {VK_MENU, VK_F4}));
    EXPECT_TRUE(test::WaitUntil([&] { return ::IsWindowEnabled(run->main()) != FALSE; }));
    EXPECT_EQ(run->Close(), std::optional<DWORD>(0));
  }
}

// WM_DPICHANGED as the system sends it: the new scale, and as the suggested rectangle the
// window's at the session's scale, scaled about its top-left corner. Returns it.
RECT SendDpiChanged(HWND window, int ppi, RECT suggested) {
  const int session = win::SystemPixelsPerInch();
  suggested.right = suggested.left + MulDiv(suggested.right - suggested.left, ppi, session);
  suggested.bottom = suggested.top + MulDiv(suggested.bottom - suggested.top, ppi, session);
  ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(ppi, ppi), reinterpret_cast<LPARAM>(&suggested));
  return suggested;
}

TEST(DisplayScale, MainWindowFollowsItsMonitorsScale) {
  Program program(::GetModuleHandleW(nullptr));
  MainWindow& form = program.Window();
  ShowLines(form, 60);
  TRichEdit& text_view = form.View().TextView();
  HWND view = text_view.Handle();
  // All of it 9 points, one word bold and selected, the view scrolled to its middle.
  text_view.SelectAll();
  text_view.SetSelSize(9);
  const CHARRANGE word{100, 104};
  ::SendMessageW(view, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&word));
  text_view.SetSelStyle(fsBold);
  ::SendMessageW(view, EM_LINESCROLL, 0, 20);
  const LRESULT top_line = ::SendMessageW(view, EM_GETFIRSTVISIBLELINE, 0, 0);
  ASSERT_GT(top_line, 10);
  const std::string text = test::WindowTextSjis(view);
  RECT at_session{};
  ::GetWindowRect(form.Handle(), &at_session);
  const int session = win::SystemPixelsPerInch();
  const int line_at_session = LineHeight(view);

  for (int ppi : {session * 3 / 2, session}) {
    SCOPED_TRACE(ppi);
    const RECT suggested = SendDpiChanged(form.Handle(), ppi, at_session);
    RECT now{};
    ::GetWindowRect(form.Handle(), &now);
    EXPECT_TRUE(::EqualRect(&now, &suggested));
    EXPECT_NEAR(CharacterHeight(form.View().Panel().CaptionFont()), ScaledMeasure(16, ppi), 1);
    EXPECT_EQ(WindowSize(view).cy, test::ClientSize(form.Handle()).cy) << "fills the window";
    EXPECT_NEAR(LineHeight(view), MulDiv(line_at_session, ppi, session), 1);
    EXPECT_EQ(test::WindowTextSjis(view), text);
    EXPECT_EQ(::SendMessageW(view, EM_GETFIRSTVISIBLELINE, 0, 0), top_line);
    CHARRANGE selection{};
    ::SendMessageW(view, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    EXPECT_EQ(selection.cpMin, word.cpMin);
    EXPECT_EQ(selection.cpMax, word.cpMax);
    CHARFORMATW format{};
    format.cbSize = sizeof format;
    ::SendMessageW(view, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(format.yHeight, 180);
    EXPECT_NE(format.dwEffects & CFE_BOLD, 0u);
  }

  {  // A picture is fitted again to the panel at the new size.
    win::WindowDc screen(nullptr);
    ASSERT_TRUE(test::OpenClipboardSoon());
    ::EmptyClipboard();
    ::SetClipboardData(CF_BITMAP, ::CreateCompatibleBitmap(screen.Get(), 2000, 1500));
    ::CloseClipboard();
    test::RunMenuCommand(form.Handle(), MenuCommand::LookAgain);
    SendDpiChanged(form.Handle(), session * 3 / 2, at_session);
    const SIZE panel = test::ClientSize(form.View().Panel().Handle());
    EXPECT_EQ(panel.cx, test::ClientSize(form.Handle()).cx) << "the panel fills the window";
    const ClipboardFit fit = FitPictureToPanel(panel.cx, panel.cy, 2000, 1500);
    EXPECT_EQ(form.View().ImageView().BoundsRect(),
              (TRect{fit.left, fit.top, fit.left + fit.width, fit.top + fit.height}));
  }
}

TEST(DisplayScale, AboutWindowFollowsItsMonitorsScale) {
  TApplication application(::GetModuleHandleW(nullptr));
  AboutWindow about(application);
  RECT at_session{};
  ::GetWindowRect(about.Handle(), &at_session);
  HWND group = ::GetWindow(about.Handle(), GW_CHILD);
  const int session = win::SystemPixelsPerInch();
  for (int ppi : {session * 3 / 2, session}) {
    SCOPED_TRACE(ppi);
    const RECT suggested = SendDpiChanged(about.Handle(), ppi, at_session);
    RECT bounds{};
    ::GetWindowRect(about.Handle(), &bounds);
    EXPECT_TRUE(::EqualRect(&bounds, &suggested));
    ::GetWindowRect(group, &bounds);
    ::MapWindowPoints(nullptr, about.Handle(), reinterpret_cast<POINT*>(&bounds), 2);
    EXPECT_EQ(bounds.left, ScaledMeasure(16, ppi));
    EXPECT_EQ(bounds.right - bounds.left, ScaledMeasure(313, ppi));
    HWND label = ::GetWindow(group, GW_HWNDNEXT);
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0));
    EXPECT_NEAR(CharacterHeight(font), ScaledMeasure(12, ppi), 1);
  }
}

}  // namespace
}  // namespace pelmora
