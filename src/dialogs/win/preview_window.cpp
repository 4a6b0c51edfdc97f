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
#include "dialogs/win/preview_panel.h"
#include "picture/picture.h"

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
  void FitToPicture();
  int BorderWidth() const { return ScaledMeasure(kPanelBorderWidth, pixels_per_inch_); }

  TPicture picture_;
  std::unique_ptr<TPreviewPanel> panel_;
  HWND window_ = nullptr;
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
  RegisterPreviewClass();
  const std::wstring caption = win::WideFromSjis(strings::kPreview);
  window_ = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME, kClassName,
                              caption.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                              0, 0, 320, 240, owner, nullptr, ::GetModuleHandleW(nullptr), this);
  if (window_ == nullptr) win::RaiseLastOSError();
  win::UniqueWindow owned(window_);
  // At the scale of the monitor it was made on, the primary one, where it is centred.
  pixels_per_inch_ = win::WindowPixelsPerInch(window_);

  TPreviewPanel::Look look;
  look.border_width = BorderWidth();
  look.single_border = true;
  look.background = COLOR_WINDOW;
  panel_ = std::make_unique<TPreviewPanel>(window_, ClientBounds(window_), 1, look, nullptr);
  panel_->SetPicture(&picture_);
  FitToPicture();

  RECT frame{};
  ::GetWindowRect(window_, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  ::SetWindowPos(window_, nullptr, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  win::RunModal({.window = window_,
                 .closed = &closed_,
                 .filter = [this](MSG& message) {
                   const bool escape = message.message == WM_KEYDOWN &&
                                       message.wParam == VK_ESCAPE &&
                                       (message.hwnd == window_ || ::IsChild(window_, message.hwnd));
                   if (escape) closed_ = true;
                   return escape;
                 }});
  panel_.reset();
}

void TPreviewWindow::FitToPicture() {
  if (picture_.Width() <= 0) return;
  HMONITOR monitor = ::MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  ::GetMonitorInfoW(monitor, &info);
  const RECT client = ClientBounds(window_);
  RECT panel_client{};
  ::GetClientRect(panel_->Handle(), &panel_client);
  const int width = PreviewClientExtent(info.rcMonitor.right - info.rcMonitor.left,
                                        client.right, picture_.Width(), panel_client.right,
                                        2 * BorderWidth(), picture_.Width());
  const int height = PreviewClientExtent(info.rcMonitor.bottom - info.rcMonitor.top,
                                         client.bottom, picture_.Height(), panel_client.bottom,
                                         2 * BorderWidth(), picture_.Width());
  const SIZE frame = win::WindowSizeForClient(
      SIZE{width, height}, static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_STYLE)),
      static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_EXSTYLE)), pixels_per_inch_);
  ::SetWindowPos(window_, nullptr, 0, 0, frame.cx, frame.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TPreviewWindow::HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      if (panel_) panel_->SetBounds(ClientBounds(window));
      return 0;
    case WM_DPICHANGED: {
      // Moved to a monitor of another scale: the border follows, the picture is stretched
      // into the size the system suggests.
      pixels_per_inch_ = HIWORD(wparam);
      if (panel_) panel_->SetBorderWidth(BorderWidth());
      const RECT& r = *reinterpret_cast<const RECT*>(lparam);
      ::SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE:
      closed_ = true;
      return 0;
    default:
      return ::DefWindowProcW(window, message, wparam, lparam);
  }
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
