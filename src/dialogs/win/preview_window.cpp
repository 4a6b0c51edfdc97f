#include "dialogs/win/preview_window.h"

#include <algorithm>
#include <memory>

#include "base/muldiv.h"
#include "base/strings.h"
#include "base/win/display_scale.h"
#include "base/win/handles.h"
#include "base/win/modal_loop.h"
#include "base/win/system_error.h"
#include "base/win/text.h"
#include "base/win/window.h"
#include "dialogs/dialog_position.h"
#include "dialogs/win/dialog_host.h"
#include "picture/picture.h"
#include "view/win/preview_panel.h"

namespace pelmora {
namespace {

constexpr wchar_t kClassName[] = L"PelmoraPicturePreview";
constexpr int kPanelBorderWidth = 5;  // pixels at 96 pixels per inch

class TPreviewWindow {
 public:
  explicit TPreviewWindow(const TPicture& picture) { picture_.Assign(&picture); }

  void Run(HWND owner);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void Create(HWND owner, HWND form);
  void FitToPicture();
  bool IsCloseKey(const MSG& message) const;
  int BorderWidth() const { return ScaledMeasure(kPanelBorderWidth, pixels_per_inch_); }

  LRESULT OnResize();
  LRESULT OnDpiChanged(int pixels_per_inch, const RECT& suggested);
  LRESULT OnClose();

  TPicture picture_;
  win::UniqueWindow window_;
  std::unique_ptr<TPreviewPanel> panel_;
  int pixels_per_inch_ = kDesignedPixelsPerInch;
  bool closed_ = false;
};

void RegisterPreviewClass() {
  WNDCLASSEXW window_class =
      win::AttachedWindowClass<TPreviewWindow>(::GetModuleHandleW(nullptr), kClassName);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  win::RegisterWindowClass(window_class);
}

RECT ClientBounds(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  return client;
}

void TPreviewWindow::Run(HWND owner) {
  // The window opens on the monitor of the dialog it is asked from.
  const HWND form = win::PlacementForm(owner);
  Create(owner, form);
  FitToPicture();
  win::CentreOnMonitor(window_.Get(), form, VerticalPlace::Middle);
  win::RunModal({.window = window_.Get(),
                 .closed = &closed_,
                 .filter = [this](MSG& message) {
                   if (!IsCloseKey(message)) return false;
                   closed_ = true;
                   return true;
                 }});
  panel_.reset();
  window_.Reset();
}

void TPreviewWindow::Create(HWND owner, HWND form) {
  RegisterPreviewClass();
  const std::wstring caption = win::WideFromSjis(strings::kPreview);
  // Made in the middle of the monitor it opens on, at that monitor's scale.
  const RECT area = win::MonitorArea(form);
  window_.Reset(::CreateWindowExW(
      WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME, kClassName, caption.c_str(),
      WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, (area.left + area.right) / 2,
      (area.top + area.bottom) / 2, 320, 240, owner, nullptr, ::GetModuleHandleW(nullptr), this));
  if (!window_) win::RaiseLastOSError();
  HWND window = window_.Get();
  pixels_per_inch_ = win::WindowPixelsPerInch(window);

  TPreviewPanel::Look look;
  look.border_width = BorderWidth();
  look.single_border = true;
  look.background = COLOR_WINDOW;
  panel_ = std::make_unique<TPreviewPanel>(window, ClientBounds(window), 1, look, nullptr);
  panel_->SetPicture(&picture_);
}

bool TPreviewWindow::IsCloseKey(const MSG& message) const {
  return message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE &&
         (message.hwnd == window_.Get() || ::IsChild(window_.Get(), message.hwnd));
}

void TPreviewWindow::FitToPicture() {
  if (picture_.Width() <= 0) return;
  HWND window = window_.Get();
  const RECT monitor = win::MonitorArea(window);
  const RECT client = ClientBounds(window);
  RECT panel_client{};
  ::GetClientRect(panel_->Handle(), &panel_client);
  const int width = PreviewClientExtent(monitor.right - monitor.left,
                                        client.right, picture_.Width(), panel_client.right,
                                        2 * BorderWidth(), picture_.Width());
  const int height = PreviewClientExtent(monitor.bottom - monitor.top,
                                         client.bottom, picture_.Height(), panel_client.bottom,
                                         2 * BorderWidth(), picture_.Width());
  const SIZE frame = win::WindowSizeForClient(
      SIZE{width, height}, static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE)),
      static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE)), pixels_per_inch_);
  ::SetWindowPos(window, nullptr, 0, 0, frame.cx, frame.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TPreviewWindow::HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE: return OnResize();
    case WM_DPICHANGED: return OnDpiChanged(HIWORD(wparam), *reinterpret_cast<RECT*>(lparam));
    case WM_CLOSE: return OnClose();
    default: return ::DefWindowProcW(window, message, wparam, lparam);
  }
}

LRESULT TPreviewWindow::OnResize() {
  if (panel_) panel_->SetBounds(ClientBounds(window_.Get()));
  return 0;
}

LRESULT TPreviewWindow::OnDpiChanged(int pixels_per_inch, const RECT& suggested) {
  // Moved to a monitor of another scale: the border follows, the picture is stretched into
  // the size the system suggests.
  pixels_per_inch_ = pixels_per_inch;
  if (panel_) panel_->SetBorderWidth(BorderWidth());
  ::SetWindowPos(window_.Get(), nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  return 0;
}

LRESULT TPreviewWindow::OnClose() {
  closed_ = true;
  return 0;
}

}  // namespace

int PreviewClientExtent(int monitor_extent, int client_extent, int picture_extent,
                        int panel_client_extent, int borders, int picture_width) {
  if (picture_width <= 0) return client_extent;
  const long long wanted = static_cast<long long>(client_extent) + picture_extent -
                           panel_client_extent + borders;
  const long long limit = static_cast<long long>(monitor_extent) * 3 / 4;
  return static_cast<int>(std::max(0LL, std::min(limit, wanted)));
}

void ShowPicturePreview(HWND owner, const TPicture& picture) {
  TPreviewWindow preview(picture);
  preview.Run(owner);
}

}  // namespace pelmora
