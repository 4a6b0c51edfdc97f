#include "app/win/main_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/win/application.h"
#include "app/win/clipboard_view.h"
#include "app/win/program.h"
#include "base/win/display_scale.h"
#include "base/win/error_display.h"
#include "base/win/handles.h"
#include "base/win/text.h"
#include "pelmora_version.h"
#include "richtext/win/rich_edit.h"
#include "support/win/clipboard_text.h"
#include "support/win/input.h"
#include "support/win/menus.h"
#include "support/win/modal_watcher.h"
#include "support/win/pelmora_run.h"
#include "support/win/screenshot.h"
#include "support/win/wait.h"
#include "view/image.h"
#include "view/win/panel.h"

namespace pelmora {
namespace {

using test::Scaled;

using test::IsSeparatorAt;
using test::MenuCaption;

TEST(MainWindow, WindowAsDesigned) {
  Program program(::GetModuleHandleW(nullptr));
  MainWindow& form = program.Window();
  TApplication& application = program.Application();
  HWND window = form.Handle();

  // The caption's bytes: leading space, ideographic space, four spaces.
  EXPECT_EQ(test::WindowTextSjis(window), " Pelmora\x81\x40    Ver " PELMORA_VERSION_TEXT);
  const SIZE client = test::ClientSize(window);
  EXPECT_EQ(client.cx, Scaled(424));
  EXPECT_EQ(client.cy, Scaled(231));
  const LONG style = ::GetWindowLongW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_MAXIMIZEBOX);
  // Owned by the application's hidden window, which holds the title.
  EXPECT_EQ(::GetWindow(window, GW_OWNER), application.Handle());
  EXPECT_EQ(test::WindowTextSjis(application.Handle()), application.Title());
  EXPECT_EQ(application.Title(), "app_win_tests");
  EXPECT_EQ(application.MainWindowHandle(), window);
  // Error boxes belong to the hidden window.
  EXPECT_EQ(win::ErrorDisplayOwner(), application.Handle());

  // The panel fills the client area, also after a resize.
  auto panel_size = [&] { return test::ClientSize(form.View().Panel().Handle()); };
  EXPECT_EQ(panel_size().cx, client.cx);
  EXPECT_EQ(panel_size().cy, client.cy);
  ::SetWindowPos(window, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(panel_size().cx, test::ClientSize(window).cx);
  EXPECT_EQ(panel_size().cy, test::ClientSize(window).cy);

  // The image view is there, hidden, at (6, 6), 10 x 10, proportional.
  EXPECT_FALSE(form.View().ImageView().Visible());
  EXPECT_TRUE(form.View().ImageView().Proportional());
  EXPECT_EQ(form.View().ImageView().BoundsRect(), (TRect{6, 6, 16, 16}));
  // The text view was made by the window's creation (it was cleared), hidden,
  // inside the panel and filling it.
  HWND text_view = form.View().TextView().Handle();
  ASSERT_NE(text_view, nullptr);
  EXPECT_EQ(::GetParent(text_view), form.View().Panel().Handle());
  EXPECT_FALSE(::IsWindowVisible(text_view));
  RECT text_rect;
  ::GetWindowRect(text_view, &text_rect);
  EXPECT_EQ(text_rect.right - text_rect.left, panel_size().cx);
  EXPECT_EQ(text_rect.bottom - text_rect.top, panel_size().cy);
}

TEST(MainWindow, ContextMenuAtCreation) {
  Program program(::GetModuleHandleW(nullptr));
  MainWindow& form = program.Window();
  // 8 items, "終　了" with its ideographic space last.
  EXPECT_EQ(test::MenuCaptions(form.ContextMenu()),
            (std::vector<std::string>{"文字編集", "-", "内容確認/貼り付け", "-",
                                      "ファイルの読込み", "-", "ソフトに付いて", "終　了"}));
  EXPECT_EQ(MenuCaption(form.ContextMenu(), 7), "\x8F\x49\x81\x40\x97\xB9");
  EXPECT_EQ(::GetMenuItemID(form.ContextMenu(), 7), CommandIdOf(MenuCommand::Quit));
}

TEST(PopupMenu, ItemsShowInTheirOwnPlaceAndCommandsReachTheirClick) {
  TPopupMenu menu;
  int clicks = 0;
  std::vector<TMenuItem*> items;
  UINT command = 0x200;
  for (const char* caption : {"a", "-", "b", "c", "-", "d"}) {
    items.push_back(std::string_view(caption) == "-"
                        ? &menu.AddSeparator(false)
                        : &menu.Add(command++, caption, false, [&clicks] { ++clicks; }));
  }
  // What the platform menu holds: only the visible items, in order.
  auto check_platform_menu = [&] {
    UINT position = 0;
    for (const auto& item : menu.Items()) {
      if (!item->Visible()) continue;
      SCOPED_TRACE(item->Caption());
      EXPECT_EQ(::GetMenuItemID(menu.Handle(), static_cast<int>(position)), item->Command());
      EXPECT_EQ(IsSeparatorAt(menu.Handle(), position), item->IsSeparator());
      if (!item->IsSeparator()) {
        EXPECT_EQ(MenuCaption(menu.Handle(), position), item->Caption());
      }
      ++position;
    }
    EXPECT_EQ(::GetMenuItemCount(menu.Handle()), static_cast<int>(position));
  };
  // Shown items come back at their own place, whatever the order of showing.
  for (int i : {5, 2, 0, 3, 3, 1}) {
    items[static_cast<std::size_t>(i)]->SetVisible(true);
    check_platform_menu();
  }
  EXPECT_EQ(test::MenuCaptions(menu.Handle()), (std::vector<std::string>{"a", "-", "b", "c", "d"}));
  items[2]->SetVisible(false);
  check_platform_menu();
  EXPECT_TRUE(menu.DispatchCommand(items[3]->Command()));
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(menu.DispatchCommand(1));
  EXPECT_FALSE(menu.DispatchCommand(0)) << "separators send no command";
}

// What the watcher saw of a menu of the test's thread while it was up.
struct MenuSeen {
  RECT rect{};
  HMENU menu = nullptr;
  std::vector<std::string> captions;  // "-" for a separator
};

// Runs open, which brings up a menu in this thread's popup-menu loop, while the watcher
// reads the menu and closes it with Esc, as the user closes it.
MenuSeen WatchMenu(const std::function<void()>& open) {
  MenuSeen seen;
  std::atomic<bool> closed{false};
  test::Watched(
      [&] {
        open();
        test::WaitUntil([&] { return closed.load(); }, test::kStandTimeoutMs);
      },
      [&](test::Watcher& watcher) {
        HWND menu = nullptr;
        ASSERT_TRUE(test::WaitUntil(
            [&] { return (menu = test::OpenMenuOf(watcher.Thread())) != nullptr; },
            test::kStandTimeoutMs))
            << "no menu came up";
        ::GetWindowRect(menu, &seen.rect);
        seen.menu = reinterpret_cast<HMENU>(::SendMessageW(menu, MN_GETHMENU, 0, 0));
        seen.captions = test::MenuCaptions(seen.menu);
        ASSERT_TRUE(test::PressKeysInMenu(watcher.Thread(), {VK_ESCAPE}));
        ASSERT_TRUE(watcher.WaitGone(menu));
        closed = true;
      });
  return seen;
}

TEST(MainWindow, ContextMenuOpensFromTheTextView) {
  // Text on the clipboard, which the shown window follows: every item of the menu is up.
  ASSERT_TRUE(test::PutClipboardText("menu"));
  Program program(::GetModuleHandleW(nullptr));
  MainWindow& form = program.Window();
  form.Show(SW_SHOWNORMAL);
  ASSERT_TRUE(test::WaitUntil([&] { return form.View().Kind() == ClipboardKind::Text; }, 5000));
  form.View().TextView().SetVisible(true);
  HWND text_view = form.View().TextView().Handle();
  ASSERT_NE(text_view, nullptr);

  ASSERT_TRUE(test::Activate(form.Handle()));
  auto open_from = [&](LPARAM position) {
    return WatchMenu([&] {
      ::SendMessageW(text_view, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(text_view), position);
    });
  };
  {  // A right click in the text: the menu opens at the click.
    POINT click{30, 20};
    ::ClientToScreen(text_view, &click);
    const MenuSeen watch = open_from(MAKELPARAM(click.x, click.y));
    EXPECT_EQ(watch.captions,
              (std::vector<std::string>{"文字編集", "-", "内容確認/貼り付け", "Ｃｏｐｙ", "-",
                                        "名前を付けて保存", "-", "ファイルの読込み", "-",
                                        "ソフトに付いて", "終　了"}));
    EXPECT_LE(std::abs(watch.rect.left - click.x), 2);
    EXPECT_LE(std::abs(watch.rect.top - click.y), 2);
  }
  {  // The context-menu key: at the main window's client area.
    const MenuSeen watch = open_from(MAKELPARAM(-1, -1));
    POINT origin{0, 0};
    ::ClientToScreen(form.Handle(), &origin);
    EXPECT_LE(std::abs(watch.rect.left - origin.x), 2);
    EXPECT_LE(std::abs(watch.rect.top - origin.y), 2);
  }
}

TEST(MainWindow, TheTitleBarsRightClickIsTheSystemsAndTabLeavesTheTextAsItIs) {
  Program program(::GetModuleHandleW(nullptr));
  MainWindow& form = program.Window();
  form.Show(SW_SHOWNORMAL);
  ASSERT_TRUE(test::Activate(form.Handle()));
  test::DrainMessages();

  {  // A right click on the title bar opens the window's system menu, not the program's.
    RECT frame, client;
    ::GetWindowRect(form.Handle(), &frame);
    ::GetClientRect(form.Handle(), &client);
    POINT client_origin{0, 0};
    ::ClientToScreen(form.Handle(), &client_origin);
    const POINT on_title{(frame.left + frame.right) / 2, (frame.top + client_origin.y) / 2};
    ASSERT_EQ(::SendMessageW(form.Handle(), WM_NCHITTEST, 0, MAKELPARAM(on_title.x, on_title.y)),
              HTCAPTION);
    const MenuSeen watch = WatchMenu([&] {
      EXPECT_TRUE(test::ClickAt(form.Handle(), POINT{on_title.x - client_origin.x,
                                                     on_title.y - client_origin.y}, true));
    });
    EXPECT_NE(watch.menu, form.ContextMenu());
    EXPECT_EQ(watch.menu, ::GetSystemMenu(form.Handle(), FALSE));
  }
  {  // Tab in the text view types no tab character; the view is the only stop, so the
     // focus stays there.
    form.View().TextView().SetVisible(true);
    HWND text_view = form.View().TextView().Handle();
    ::SetWindowTextA(text_view, "abc");
    ::SendMessageW(text_view, EM_SETSEL, 3, 3);
    ::SetFocus(text_view);
    ASSERT_TRUE(test::PressKeys(text_view, {VK_TAB}));
    ASSERT_TRUE(test::PressKeys(text_view, {'X'}));
    ASSERT_TRUE(test::WaitUntil([&] { return test::WindowTextSjis(text_view).size() > 3; }, 5000));
    EXPECT_EQ(test::WindowTextSjis(text_view), "abcx");
    EXPECT_EQ(::GetFocus(), text_view);
  }
}

// The panel's paint, drawn into a memory bitmap through WM_PRINTCLIENT.
class PanelPixels {
 public:
  explicit PanelPixels(HWND panel) {
    RECT client;
    ::GetClientRect(panel, &client);
    width_ = client.right;
    height_ = client.bottom;
    win::WindowDc screen(nullptr);
    dc_ = win::UniqueMemoryDc(::CreateCompatibleDC(screen.Get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap_ = win::UniqueBitmap(
        ::CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<const std::uint32_t*>(bits);
    win::SelectedObject selected(dc_.Get(), bitmap_.Get());
    RECT all{0, 0, width_, height_};
    ::FillRect(dc_.Get(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    ::SendMessageW(panel, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_.Get()), PRF_CLIENT);
    ::GdiFlush();
  }
  COLORREF At(int x, int y) const {
    const std::uint32_t p = bits_[y * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  // The rows that hold a pixel of colour c.
  std::pair<int, int> RowsWith(COLORREF c, const RECT& area) const {
    int first = -1, last = -1;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) {
        if (At(x, y) == c) {
          if (first < 0) first = y;
          last = y;
          break;
        }
      }
    }
    return {first, last};
  }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_ = 0, height_ = 0;
  win::UniqueMemoryDc dc_;
  win::UniqueBitmap bitmap_;
  const std::uint32_t* bits_ = nullptr;
};

// A windowless child that fills its rectangle with one colour.
class SolidChild final : public WindowlessChild {
 public:
  RECT bounds{};
  bool visible = true;
  bool opaque = true;
  COLORREF colour = RGB(255, 0, 0);
  RECT Bounds() const override { return bounds; }
  bool Visible() const override { return visible; }
  bool Opaque() const override { return opaque; }
  void Paint(HDC dc) override {
    // Drawn from (0, 0): the panel has moved the origin to the child's corner.
    win::UniqueBrush brush(::CreateSolidBrush(colour));
    RECT r{0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top};
    ::FillRect(dc, &r, brush.Get());
  }
};

TEST(MainWindow, PanelPaintsNoDataCentredAndItsWindowlessChildren) {
  Program program(::GetModuleHandleW(nullptr));
  MainWindow& form = program.Window();
  EXPECT_EQ(form.View().Panel().Caption(), "No Data");
  // A panel of the window's kind, made here to be given windowless children of the test's.
  RECT client{};
  ::GetClientRect(form.Handle(), &client);
  TPanel panel(form.Handle(), client, win::WindowPixelsPerInch(form.Handle()));
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);

  {  // Background everywhere, the caption in a band around the middle, nothing else.
    PanelPixels pixels(panel.Handle());
    EXPECT_EQ(pixels.At(0, 0), face);
    EXPECT_EQ(pixels.At(pixels.width() - 1, pixels.height() - 1), face);
    const RECT all{0, 0, pixels.width(), pixels.height()};
    const auto [first, last] = pixels.RowsWith(text, all);
    ASSERT_GE(first, 0) << "no caption drawn";
    const int middle = pixels.height() / 2;
    EXPECT_LE(first, middle);
    EXPECT_GE(last, middle - Scaled(4));
    EXPECT_LE(last - first, Scaled(16) + 2);
    // Centred across: the text's columns are balanced around the middle.
    int left = pixels.width(), right = -1;
    for (int y = first; y <= last; ++y) {
      for (int x = 0; x < pixels.width(); ++x) {
        if (pixels.At(x, y) == text) {
          left = std::min(left, x);
          right = std::max(right, x);
        }
      }
    }
    EXPECT_LE(std::abs((left + right) / 2 - pixels.width() / 2), 3);
  }
  {  // An opaque child is painted by itself, on its own origin; the panel leaves its area.
    SolidChild child;
    child.bounds = RECT{10, 20, 40, 30};
    panel.AddWindowlessChild(&child);
    PanelPixels pixels(panel.Handle());
    EXPECT_EQ(pixels.At(10, 20), child.colour);
    EXPECT_EQ(pixels.At(39, 29), child.colour);
    EXPECT_EQ(pixels.At(40, 29), face);
    EXPECT_EQ(pixels.At(9, 20), face);
    // Hidden: skipped entirely.
    child.visible = false;
    PanelPixels hidden(panel.Handle());
    EXPECT_EQ(hidden.At(10, 20), face);
    // Covering the whole panel: the panel paints nothing of its own.
    child.visible = true;
    child.bounds = RECT{0, 0, pixels.width(), pixels.height()};
    child.colour = RGB(0, 0, 255);
    PanelPixels covered(panel.Handle());
    const RECT all{0, 0, pixels.width(), pixels.height()};
    EXPECT_EQ(covered.RowsWith(text, all).first, -1);
    EXPECT_EQ(covered.RowsWith(face, all).first, -1);
    panel.RemoveWindowlessChild(&child);
  }
}

}  // namespace
}  // namespace pelmora
