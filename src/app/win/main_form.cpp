#include "app/win/main_form.h"

#include <windowsx.h>

#include "app/win/about_form.h"
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

constexpr wchar_t kMainClass[] = L"TForm1";
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
constexpr RECT kImage1Bounds{6, 6, 16, 16};

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

TForm1::TForm1(TApplication& application)
    : application_(application),
      // Until the system has placed the window, the session's scale is the best guess.
      pixels_per_inch_(win::SystemPixelsPerInch()),
      font_(win::CreateScaledFont(kFontFace, kFontHeight, pixels_per_inch_)) {
  CreateMenu();
  CreateDialogs();

  WNDCLASSEXW window_class = win::AttachedWindowClass<TForm1>(application.Instance(), kMainClass);
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

TForm1::~TForm1() {
  // The views go before the panel and the window that hold them.
  rich_edit1_.reset();
  if (panel1_ && image1_child_) panel1_->RemoveWindowlessChild(image1_child_.get());
  image1_child_.reset();
  image1_.reset();
  panel1_.reset();
}

void TForm1::CreateMenu() {
  auto click = [this](void (TForm1::*handler)()) { return [this, handler] { (this->*handler)(); }; };
  N5 = &popup_menu1_.Add("N5", "文字編集", true, click(&TForm1::N5Click));
  N1 = &popup_menu1_.Add("N1", "-", true);
  N8 = &popup_menu1_.Add("N8", "内容確認/貼り付け", true, click(&TForm1::N8Click));
  N10 = &popup_menu1_.Add("N10", "Ｃｏｐｙ", false, click(&TForm1::N10Click));
  N9 = &popup_menu1_.Add("N9", "-", false);
  SaveAs1 = &popup_menu1_.Add("SaveAs1", "名前を付けて保存", false, click(&TForm1::SaveAs1Click));
  N2 = &popup_menu1_.Add("N2", "-", true);
  N3 = &popup_menu1_.Add("N3", "ファイルの読込み", true, click(&TForm1::N3Click));
  N4 = &popup_menu1_.Add("N4", "-", true);
  Help1 = &popup_menu1_.Add("Help1", "ソフトに付いて", true, click(&TForm1::Help1Click));
  N7 = &popup_menu1_.Add("N7", "終　了", true, click(&TForm1::N7Click));
}

void TForm1::CreateChildren(HWND window) {
  RECT client;
  ::GetClientRect(window, &client);
  panel1_ = std::make_unique<TPanel>(window, client, pixels_per_inch_);
  // Image1: hidden, at (6, 6), 10 x 10, proportional drawing on.
  image1_ = std::make_unique<TImage>();
  image1_->SetVisible(false);
  image1_->SetProportional(true);
  image1_->SetBounds(kImage1Bounds.left, kImage1Bounds.top,
                     kImage1Bounds.right - kImage1Bounds.left,
                     kImage1Bounds.bottom - kImage1Bounds.top);
  TPanel* panel = panel1_.get();
  image1_->SetOnInvalidate([panel](const TRect& r) {
    panel->InvalidateArea(RECT{r.left, r.top, r.right, r.bottom});
  });
  image1_child_ = std::make_unique<ImageViewChild>(*image1_);
  panel1_->AddWindowlessChild(image1_child_.get());

  // RichEdit1: hidden, filling the panel; its window is made when the view is first used.
  RECT panel_client;
  ::GetClientRect(panel1_->Handle(), &panel_client);
  rich_edit1_ = std::make_unique<TRichEdit>(panel1_->Handle(), panel_client);
  rich_edit1_->SetPixelsPerInch(pixels_per_inch_);
  rich_edit1_->SetOnContextMenu([this](POINT point) { OpenContextMenu(point); });
}

void TForm1::Show(int show_command) {
  ::ShowWindow(window_.Get(), show_command);
  application_.ShowTaskbarButton();
  ::UpdateWindow(window_.Get());
}

void TForm1::Close() { ::PostMessageW(window_.Get(), WM_CLOSE, 0, 0); }

void TForm1::FormCreate() { rich_edit1_->Clear(); }

void TForm1::ApplyScale(int pixels_per_inch) {
  pixels_per_inch_ = pixels_per_inch;
  font_ = win::CreateScaledFont(kFontFace, kFontHeight, pixels_per_inch);
  if (panel1_) panel1_->SetPixelsPerInch(pixels_per_inch);
  if (rich_edit1_) rich_edit1_->SetPixelsPerInch(pixels_per_inch);
}

void TForm1::FormDpiChanged(int pixels_per_inch, const RECT& suggested) {
  const TRichEdit::KeptTop kept(*rich_edit1_);
  // The fonts and the zoom first: the resize that follows lays the views out at the new
  // scale and fits the picture to the new panel.
  ApplyScale(pixels_per_inch);
  ::SetWindowPos(window_.Get(), nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm1::Help1Click() {
  if (about_) about_->ShowModal();
}

void TForm1::N7Click() { Close(); }

void TForm1::PostFollowClipboard() {
  if (window_) ::PostMessageW(window_.Get(), kFollowClipboardMessage, 0, 0);
}

void TForm1::OpenContextMenu(POINT screen_point) {
  if (screen_point.x == -1 && screen_point.y == -1) {
    // From the keyboard: open at the window's client area rather than at the mouse.
    screen_point = POINT{0, 0};
    ::ClientToScreen(window_.Get(), &screen_point);
  }
  popup_menu1_.Popup(window_.Get(), screen_point);
}

LRESULT TForm1::HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      try {
        CreateChildren(window);
        FormCreate();
      } catch (...) {
        creation_error_ = std::current_exception();
        return -1;
      }
      // Told of every change of the clipboard from now on. Should the system refuse, the
      // paints and activations still notice changes.
      ::AddClipboardFormatListener(window);
      return 0;
    case WM_DESTROY:
      ::RemoveClipboardFormatListener(window);
      break;
    case WM_SIZE:
      if (panel1_) {
        RECT client;
        ::GetClientRect(window, &client);
        panel1_->SetBounds(client);
        rich_edit1_->SetBounds(RECT{0, 0, client.right - client.left, client.bottom - client.top});
        FormResize();
        // Back from minimised: a change that came meanwhile is shown now.
        if (wparam == SIZE_MINIMIZED) {
          minimized_ = true;
        } else if (minimized_) {
          minimized_ = false;
          PostFollowClipboard();
        }
      }
      return 0;
    case WM_PAINT: {
      win::PaintDc paint(window);
      FormPaint();
      return 0;
    }
    case WM_DPICHANGED:
      FormDpiChanged(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_CLIPBOARDUPDATE:
      FollowClipboard();
      return 0;
    case kFollowClipboardMessage:
      FollowClipboard();
      return 0;
    case WM_SHOWWINDOW:
    case WM_ENABLE:
      if (wparam) PostFollowClipboard();
      break;
    case WM_ACTIVATE:
      // The user has most likely just copied something in another program.
      if (LOWORD(wparam) != WA_INACTIVE) PostFollowClipboard();
      break;
    case WM_CONTEXTMENU: {
      // From the panel, the image view on it, or the window itself; (-1, -1) from the
      // keyboard. A right click on the frame or the title bar is the system's: it opens
      // the window menu there.
      const POINT point{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      const bool from_keyboard = point.x == -1 && point.y == -1;
      if (!from_keyboard &&
          ::SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y)) != HTCLIENT) {
        break;
      }
      OpenContextMenu(point);
      return 0;
    }
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (rich_edit1_ && rich_edit1_->HandleNotify(*reinterpret_cast<const NMHDR*>(lparam), result)) {
        return result;
      }
      break;
    }
    case WM_COMMAND:
      if (HIWORD(wparam) == 0 && lparam == 0 && popup_menu1_.DispatchCommand(LOWORD(wparam))) {
        return 0;
      }
      break;
    case WM_SYSCOMMAND:
      // Minimising the main window minimises the application, whose taskbar button stands
      // for the program.
      if ((wparam & 0xFFF0) == SC_MINIMIZE) {
        application_.Minimize();
        return 0;
      }
      break;
    case WM_CLOSE:
      application_.Terminate();
      return 0;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace pelmora
