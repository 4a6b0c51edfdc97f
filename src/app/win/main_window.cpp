#include "app/win/main_window.h"

#include <windowsx.h>

#include "app/win/about_window.h"
#include "app/win/application.h"
#include "app/win/panel.h"
#include "base/muldiv.h"
#include "base/win/display_scale.h"
#include "base/win/fonts.h"
#include "base/win/system_error.h"
#include "base/win/text.h"
#include "base/win/window.h"
#include "clipboard/image.h"
#include "clipboard/win/dc_canvas.h"
#include "pelmora_version.h"
#include "richtext/win/rich_edit.h"

namespace pelmora {
namespace {

constexpr wchar_t kMainClass[] = L"PelmoraMainWindow";
// A leading space, the product name, an ideographic space, four spaces, the version.
constexpr char kCaption[] = " Pelmora　    Ver " PELMORA_VERSION_TEXT;
constexpr char kFontFace[] = "ＭＳ Ｐゴシック";
constexpr int kFontHeight = 12;
// The designed client area at 96 pixels per inch. Sizes and fonts follow the scale of the
// window's monitor, so the window keeps its proportions on a denser screen; the outer size
// follows the system's frame metrics around this client area (432 x 258 with the classic
// 4-pixel frame and 19-pixel caption).
constexpr int kClientWidth = 424;
constexpr int kClientHeight = 231;
constexpr RECT kImageViewBounds{6, 6, 16, 16};

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

// The image view as the panel sees it: a windowless child drawn onto the panel's surface.
class ImageViewChild final : public WindowlessChild {
 public:
  explicit ImageViewChild(TImage& image) : image_(image) {}
  RECT Bounds() const override {
    const TRect r = image_.BoundsRect();
    return RECT{r.left, r.top, r.right, r.bottom};
  }
  bool Visible() const override { return image_.Visible(); }
  bool Opaque() const override { return image_.Opaque(); }
  void Paint(HDC dc) override {
    win::TDcCanvas canvas(dc);
    image_.Paint(canvas);
  }

 private:
  TImage& image_;
};

MainWindow::MainWindow(TApplication& application)
    : application_(application),
      // Until the system has placed the window, the session's scale is the best guess.
      pixels_per_inch_(win::SystemPixelsPerInch()),
      font_(win::CreateScaledFont(kFontFace, kFontHeight, pixels_per_inch_)) {
  CreateMenu();
  CreateDialogs();

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

MainWindow::~MainWindow() {
  // The views go before the panel and the window that hold them.
  text_view_.reset();
  if (panel_ && image_view_child_) panel_->RemoveWindowlessChild(image_view_child_.get());
  image_view_child_.reset();
  image_view_.reset();
  panel_.reset();
}

void MainWindow::CreateMenu() {
  auto run = [this](void (MainWindow::*command)()) { return [this, command] { (this->*command)(); }; };
  TPopupMenu& menu = context_menu_;
  items_.restyle_text = &menu.Add("RestyleText", "文字編集", true, run(&MainWindow::RestyleText));
  items_.restyle_separator = &menu.Add("RestyleSeparator", "-", true);
  items_.look_again = &menu.Add("LookAgain", "内容確認/貼り付け", true, run(&MainWindow::LookAgain));
  items_.copy_selection = &menu.Add("CopySelection", "Ｃｏｐｙ", false, run(&MainWindow::CopySelection));
  items_.save_separator = &menu.Add("SaveSeparator", "-", false);
  items_.save_shown = &menu.Add("SaveShown", "名前を付けて保存", false, run(&MainWindow::SaveShown));
  items_.load_separator = &menu.Add("LoadSeparator", "-", true);
  items_.load_file = &menu.Add("LoadFile", "ファイルの読込み", true, run(&MainWindow::LoadFile));
  items_.about_separator = &menu.Add("AboutSeparator", "-", true);
  items_.show_about = &menu.Add("ShowAbout", "ソフトに付いて", true, run(&MainWindow::ShowAbout));
  items_.quit = &menu.Add("Quit", "終　了", true, run(&MainWindow::Quit));
}

TMenuItem& MainWindow::ItemOf(MenuCommand command) const {
  switch (command) {
    case MenuCommand::RestyleText: return *items_.restyle_text;
    case MenuCommand::LookAgain: return *items_.look_again;
    case MenuCommand::CopySelection: return *items_.copy_selection;
    case MenuCommand::SaveShown: return *items_.save_shown;
    case MenuCommand::LoadFile: return *items_.load_file;
    case MenuCommand::ShowAbout: return *items_.show_about;
    case MenuCommand::Quit: break;
  }
  return *items_.quit;
}

void MainWindow::CreateViews(HWND window) {
  RECT client;
  ::GetClientRect(window, &client);
  panel_ = std::make_unique<TPanel>(window, client, pixels_per_inch_);
  // The image view: hidden, at (6, 6), 10 x 10, proportional drawing on.
  image_view_ = std::make_unique<TImage>();
  image_view_->SetVisible(false);
  image_view_->SetProportional(true);
  image_view_->SetBounds(kImageViewBounds.left, kImageViewBounds.top,
                         kImageViewBounds.right - kImageViewBounds.left,
                         kImageViewBounds.bottom - kImageViewBounds.top);
  TPanel* panel = panel_.get();
  image_view_->SetOnInvalidate([panel](const TRect& r) {
    panel->InvalidateArea(RECT{r.left, r.top, r.right, r.bottom});
  });
  image_view_child_ = std::make_unique<ImageViewChild>(*image_view_);
  panel_->AddWindowlessChild(image_view_child_.get());

  // The text view: hidden, filling the panel; its window is made when it is first used.
  RECT panel_client;
  ::GetClientRect(panel_->Handle(), &panel_client);
  text_view_ = std::make_unique<TRichEdit>(panel_->Handle(), panel_client);
  text_view_->SetPixelsPerInch(pixels_per_inch_);
  text_view_->SetOnContextMenu([this](POINT point) { OpenContextMenu(point); });
}

void MainWindow::Show(int show_command) {
  ::ShowWindow(window_.Get(), show_command);
  application_.ShowTaskbarButton();
  ::UpdateWindow(window_.Get());
}

void MainWindow::Close() { ::PostMessageW(window_.Get(), WM_CLOSE, 0, 0); }

void MainWindow::ApplyScale(int pixels_per_inch) {
  pixels_per_inch_ = pixels_per_inch;
  font_ = win::CreateScaledFont(kFontFace, kFontHeight, pixels_per_inch);
  if (panel_) panel_->SetPixelsPerInch(pixels_per_inch);
  if (text_view_) text_view_->SetPixelsPerInch(pixels_per_inch);
}

void MainWindow::OnDpiChanged(int pixels_per_inch, const RECT& suggested) {
  const TRichEdit::KeptTop kept(*text_view_);
  // The fonts and the zoom first: the resize that follows lays the views out at the new
  // scale and fits the picture to the new panel.
  ApplyScale(pixels_per_inch);
  ::SetWindowPos(window_.Get(), nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::ShowAbout() {
  if (about_) about_->ShowModal();
}

void MainWindow::Quit() { Close(); }

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
    case WM_NOTIFY: if (OnNotify(*reinterpret_cast<const NMHDR*>(lparam), result)) return result; break;
    case WM_COMMAND: if (OnCommand(wparam, lparam)) return 0; break;
    case WM_SYSCOMMAND: if (OnSysCommand(wparam)) return 0; break;
    case WM_CLOSE: application_.Terminate(); return 0;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

LRESULT MainWindow::OnCreate(HWND window) {
  try {
    CreateViews(window);
    text_view_->Clear();
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
  if (!panel_) return;
  RECT client;
  ::GetClientRect(window, &client);
  panel_->SetBounds(client);
  text_view_->SetBounds(RECT{0, 0, client.right - client.left, client.bottom - client.top});
  // The held picture is placed anew; the clipboard is not read, so a resize never raises an
  // error box in the middle of the platform's sizing. The text view reflows by itself.
  if (image_view_->Visible()) {
    const TPicture& picture = image_view_->Picture();
    PlacePicture(picture.Width(), picture.Height());
  }
  // Back from minimised: a change that came meanwhile is shown now.
  if (kind == SIZE_MINIMIZED) {
    minimized_ = true;
  } else if (minimized_) {
    minimized_ = false;
    PostFollowClipboard();
  }
}

void MainWindow::OnPaint(HWND window) {
  win::PaintDc paint(window);
  FollowClipboard();
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

bool MainWindow::OnNotify(const NMHDR& header, LRESULT& result) {
  return text_view_ && text_view_->HandleNotify(header, result);
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
