#include "app/win/main_window.h"

#include <windowsx.h>

#include "app/win/about_window.h"
#include "app/win/application.h"
#include "app/win/clipboard_view.h"
#include "app/win/file_commands.h"
#include "base/muldiv.h"
#include "base/win/display_scale.h"
#include "base/win/system_error.h"
#include "base/win/text.h"
#include "base/win/window.h"
#include "pelmora_version.h"
#include "richtext/win/rich_edit.h"

namespace pelmora {
namespace {

constexpr wchar_t kMainClass[] = L"PelmoraMainWindow";
// A leading space, the product name, an ideographic space, four spaces, the version.
constexpr char kCaption[] = " Pelmora　    Ver " PELMORA_VERSION_TEXT;
// The designed client area at 96 pixels per inch. Sizes and fonts follow the scale of the
// window's monitor, so the window keeps its proportions on a denser screen; the outer size
// follows the system's frame metrics around this client area (432 x 258 with the classic
// 4-pixel frame and 19-pixel caption).
constexpr int kClientWidth = 424;
constexpr int kClientHeight = 231;

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = 0;

// Posted to the main window: look at the clipboard if it changed.
constexpr UINT kFollowClipboardMessage = WM_APP + 1;

// The window's outer size at a scale: the designed client area in the frame drawn there.
SIZE OuterSize(int pixels_per_inch) {
  const SIZE client{ScaledMeasure(kClientWidth, pixels_per_inch),
                    ScaledMeasure(kClientHeight, pixels_per_inch)};
  return win::WindowSizeForClient(client, kStyle, kExStyle, pixels_per_inch);
}

}  // namespace

MainWindow::MainWindow(TApplication& application, AboutWindow& about)
    : application_(application),
      about_(about),
      // Until the system has placed the window, the session's scale is the best guess.
      pixels_per_inch_(win::SystemPixelsPerInch()) {
  CreateMenu();

  WNDCLASSEXW window_class = win::AttachedWindowClass<MainWindow>(application.Instance(), kMainClass);
  window_class.hIcon = ::LoadIconW(application.Instance(), MAKEINTRESOURCEW(1));
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  win::RegisterWindowClass(window_class);

  const SIZE outer = OuterSize(pixels_per_inch_);
  const std::wstring caption = win::WideFromSjis(kCaption);
  // Owned by the application's hidden window, which carries the taskbar button.
  HWND window = ::CreateWindowExW(kExStyle, kMainClass, caption.c_str(), kStyle, CW_USEDEFAULT,
                                  CW_USEDEFAULT, outer.cx, outer.cy, application.Handle(),
                                  nullptr, application.Instance(), this);
  if (!window) {
    // A failure while the children were made ends the creation and is raised here, once.
    if (creation_error_) std::rethrow_exception(creation_error_);
    win::RaiseLastOSError();
  }
  window_ = win::UniqueWindow(window);
  application.SetMainWindow(window);
  // Placed on a monitor of another scale: laid out for it before it is first shown.
  const int placed = win::WindowPixelsPerInch(window);
  if (placed != pixels_per_inch_) {
    ApplyScale(placed);
    const SIZE size = OuterSize(placed);
    ::SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// The views go before the window that holds them.
MainWindow::~MainWindow() {
  file_commands_.reset();
  view_.reset();
}

void MainWindow::CreateMenu() {
  auto run = [this](void (MainWindow::*command)()) { return [this, command] { (this->*command)(); }; };
  auto id = [](MenuCommand command) { return CommandIdOf(command); };
  TPopupMenu& menu = context_menu_;
  items_.restyle_text = &menu.Add(id(MenuCommand::RestyleText), "文字編集", true, run(&MainWindow::RestyleText));
  items_.restyle_separator = &menu.AddSeparator(true);
  menu.Add(id(MenuCommand::LookAgain), "内容確認/貼り付け", true, [this] { view_->Look(); });
  items_.copy_selection = &menu.Add(id(MenuCommand::CopySelection), "Ｃｏｐｙ", false,
                                    [this] { view_->CopySelection(); });
  items_.save_separator = &menu.AddSeparator(false);
  items_.save_shown = &menu.Add(id(MenuCommand::SaveShown), "名前を付けて保存", false,
                                [this] { file_commands_->SaveShown(); });
  menu.AddSeparator(true);
  menu.Add(id(MenuCommand::LoadFile), "ファイルの読込み", true, [this] { file_commands_->LoadFile(); });
  menu.AddSeparator(true);
  menu.Add(id(MenuCommand::ShowAbout), "ソフトに付いて", true, run(&MainWindow::ShowAbout));
  menu.Add(id(MenuCommand::Quit), "終　了", true, [this] { Close(); });
}

void MainWindow::OnShown(ClipboardKind kind) {
  const ClipboardMenuState state = MenuStateFor(kind);
  items_.restyle_text->SetVisible(state.restyle);
  items_.restyle_separator->SetVisible(state.restyle_separator);
  items_.copy_selection->SetVisible(state.copy);
  items_.save_separator->SetVisible(state.save_separator);
  items_.save_shown->SetVisible(state.save);
}

void MainWindow::Show(int show_command) {
  ::ShowWindow(window_.Get(), show_command);
  application_.ShowTaskbarButton();
  ::UpdateWindow(window_.Get());
}

void MainWindow::Close() { ::PostMessageW(window_.Get(), WM_CLOSE, 0, 0); }

void MainWindow::ApplyScale(int pixels_per_inch) {
  pixels_per_inch_ = pixels_per_inch;
  if (view_) view_->SetPixelsPerInch(pixels_per_inch);
}

void MainWindow::OnDpiChanged(int pixels_per_inch, const RECT& suggested) {
  const TRichEdit::KeptTop kept(view_->TextView());
  // The fonts and the zoom first: the resize that follows lays the views out at the new
  // scale and fits the picture to the new panel.
  ApplyScale(pixels_per_inch);
  ::SetWindowPos(window_.Get(), nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::RestyleText() {
  if (!font_dialog_.Execute()) return;
  const TFont& font = font_dialog_.Font();
  view_->RestyleText(font.color, font_dialog_.FontSize(), font.style);
}

void MainWindow::ShowAbout() { about_.ShowModal(); }

void MainWindow::FollowClipboard() {
  HWND window = window_.Get();
  // A minimised window waits until it is shown again, and a window disabled by a dialog or
  // box of the program until that is closed: a command in its dialog keeps the view it
  // started from.
  if (window == nullptr || !view_ || ::IsIconic(window) || !::IsWindowVisible(window) ||
      !::IsWindowEnabled(window)) {
    return;
  }
  if (view_->ClipboardChanged()) view_->Look();
}

void MainWindow::PostFollowClipboard() {
  if (window_) ::PostMessageW(window_.Get(), kFollowClipboardMessage, 0, 0);
}

void MainWindow::OpenContextMenu(POINT screen_point) {
  if (screen_point.x == -1 && screen_point.y == -1) {
    // From the keyboard: open at the window's client area rather than at the mouse.
    screen_point = POINT{0, 0};
    ::ClientToScreen(window_.Get(), &screen_point);
  }
  context_menu_.Popup(window_.Get(), screen_point);
}

LRESULT MainWindow::HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  switch (message) {
    case WM_CREATE: return OnCreate(window);
    case WM_DESTROY: OnDestroy(window); break;
    case WM_SIZE: OnSize(window, wparam); return 0;
    case WM_PAINT: OnPaint(window); return 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_CLIPBOARDUPDATE:
    case kFollowClipboardMessage: FollowClipboard(); return 0;
    case WM_SHOWWINDOW:
    case WM_ENABLE: if (wparam) PostFollowClipboard(); break;
    // The user has most likely just copied something in another program.
    case WM_ACTIVATE: if (LOWORD(wparam) != WA_INACTIVE) PostFollowClipboard(); break;
    case WM_CONTEXTMENU: if (OnContextMenu(window, lparam)) return 0; break;
    case WM_NOTIFY:
      if (view_ && view_->HandleNotify(*reinterpret_cast<const NMHDR*>(lparam), result)) return result;
      break;
    case WM_COMMAND: if (OnCommand(wparam, lparam)) return 0; break;
    case WM_SYSCOMMAND: if (OnSysCommand(wparam)) return 0; break;
    case WM_CLOSE: application_.Terminate(); return 0;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

LRESULT MainWindow::OnCreate(HWND window) {
  try {
    view_ = std::make_unique<ClipboardView>(
        window, pixels_per_inch_, [this](ClipboardKind kind) { OnShown(kind); },
        [this](POINT point) { OpenContextMenu(point); });
    file_commands_ = std::make_unique<FileCommands>(*view_);
  } catch (...) {
    // Raised by the constructor once the creation has ended.
    creation_error_ = std::current_exception();
    return -1;
  }
  // Told of every change of the clipboard from now on. Should the system refuse, the
  // paints and activations still notice changes.
  ::AddClipboardFormatListener(window);
  return 0;
}

void MainWindow::OnDestroy(HWND window) { ::RemoveClipboardFormatListener(window); }

void MainWindow::OnSize(HWND window, WPARAM kind) {
  if (!view_) return;
  RECT client;
  ::GetClientRect(window, &client);
  view_->SetBounds(client);
  // Back from minimised: a change that came meanwhile is shown now.
  if (kind == SIZE_MINIMIZED) {
    minimized_ = true;
  } else if (minimized_) {
    minimized_ = false;
    PostFollowClipboard();
  }
}

void MainWindow::OnPaint(HWND window) {
  { win::PaintDc paint(window); }
  // A change the paint finds is shown from the message loop, after the paint has ended.
  if (view_ && view_->ClipboardChanged()) PostFollowClipboard();
}

bool MainWindow::OnContextMenu(HWND window, LPARAM at) {
  // From the panel, the image view on it, or the window itself; (-1, -1) from the keyboard.
  // A right click on the frame or the title bar is the system's: it opens the window menu
  // there.
  const POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
  const bool from_keyboard = point.x == -1 && point.y == -1;
  if (!from_keyboard &&
      ::SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y)) != HTCLIENT) {
    return false;
  }
  OpenContextMenu(point);
  return true;
}

bool MainWindow::OnCommand(WPARAM wparam, LPARAM lparam) {
  // The menu's commands come without a control and with notification code 0.
  return HIWORD(wparam) == 0 && lparam == 0 && context_menu_.DispatchCommand(LOWORD(wparam));
}

bool MainWindow::OnSysCommand(WPARAM command) {
  // Minimising the main window minimises the application, whose taskbar button stands for
  // the program.
  if ((command & 0xFFF0) != SC_MINIMIZE) return false;
  application_.Minimize();
  return true;
}

}  // namespace pelmora
