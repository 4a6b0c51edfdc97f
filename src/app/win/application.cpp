#include "app/win/application.h"

#include "base/win/program_file.h"
#include "base/win/system_error.h"
#include "base/win/text.h"
#include "base/win/window.h"

namespace pelmora {
namespace {

constexpr wchar_t kApplicationClass[] = L"PelmoraApplication";

}  // namespace

TApplication::TApplication(HINSTANCE instance)
    : instance_(instance),
      title_(win::ApplicationTitle()) {
  WNDCLASSEXW window_class = win::AttachedWindowClass<TApplication>(instance, kApplicationClass);
  window_class.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
  window_class.hIconSm = window_class.hIcon;
  win::RegisterWindowClass(window_class);
  // A zero-sized popup with a caption: invisible on screen, yet it is the window the
  // taskbar shows, under the application title.
  const std::wstring caption = win::WideFromSjis(title_);
  const int x = ::GetSystemMetrics(SM_CXSCREEN) / 2;
  const int y = ::GetSystemMetrics(SM_CYSCREEN) / 2;
  window_ = win::UniqueWindow(::CreateWindowExW(
      0, kApplicationClass, caption.c_str(),
      WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0, 0, nullptr,
      nullptr, instance, this));
  if (!window_) win::RaiseLastOSError();
}

void TApplication::SetMainWindow(HWND window) {
  if (main_window_ == nullptr) main_window_ = window;
}

void TApplication::Minimize() {
  // The main window goes out of sight; the taskbar button stays as the program's icon.
  if (main_window_) ::ShowWindow(main_window_, SW_HIDE);
  ::ShowWindow(window_.Get(), SW_MINIMIZE);
}

void TApplication::ShowTaskbarButton() { ::ShowWindow(window_.Get(), SW_SHOWNOACTIVATE); }

int TApplication::Run() {
  MSG message;
  for (;;) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return 0;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

void TApplication::Terminate() { ::PostQuitMessage(0); }

LRESULT TApplication::HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:
      // Closing from the taskbar closes the main window, which ends the program.
      if (main_window_) ::PostMessageW(main_window_, WM_CLOSE, 0, 0);
      return 0;
    case WM_SYSCOMMAND:
      // The taskbar button restores the program: the application window comes back from
      // its icon and the main window shows again.
      if ((wparam & 0xFFF0) == SC_RESTORE && ::IsIconic(window)) {
        ::ShowWindow(window, SW_RESTORE);
        if (main_window_) {
          ::ShowWindow(main_window_, SW_SHOW);
          ::SetActiveWindow(main_window_);
        }
        return 0;
      }
      break;
    case WM_ACTIVATE:
      // The hidden window is never the one to work in: hand activation on to the window
      // that was last active above it (the main window, or a box or dialog open over it).
      if (LOWORD(wparam) != WA_INACTIVE && main_window_) {
        HWND target = ::GetLastActivePopup(window);
        if (target == window) target = main_window_;
        if (::IsWindowVisible(target) && ::IsWindowEnabled(target)) ::SetActiveWindow(target);
        return 0;
      }
      break;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace pelmora
