#include "app/win/about_window.h"

#include "app/win/application.h"
#include "base/muldiv.h"
#include "base/win/control.h"
#include "base/win/display_scale.h"
#include "base/win/fonts.h"
#include "base/win/modal_loop.h"
#include "base/win/system_error.h"
#include "base/win/text.h"
#include "base/win/window.h"
#include "pelmora_version.h"

namespace pelmora {
namespace {

constexpr wchar_t kAboutClass[] = L"PelmoraAboutWindow";
constexpr char kCaption[] = "Help";
constexpr char kGroupCaption[] = "Ver " PELMORA_VERSION_TEXT;
constexpr char kUpdatesLabel[] = "バージョンアップは";
constexpr char kProjectPage[] = "https://pelmora.example/";
constexpr char kContactLabel[] = "このプログラムに付いて";
constexpr char kContactAddress[] = "support@pelmora.example";
constexpr int kFontHeight = 12;

// Designed at 96 dpi: the window's outer rectangle on the screen, the group box in the
// client area, the labels inside the group box: where new versions are announced, the
// project page, whom to write to about the program, the address.
constexpr RECT kWindowBounds{367, 94, 367 + 350, 94 + 195};
constexpr RECT kGroupBounds{16, 12, 16 + 313, 12 + 141};
struct LabelPlace {
  const char* text;
  int left, top;
};
constexpr LabelPlace kLabels[] = {
    {kUpdatesLabel, 77, 41},
    {kProjectPage, 89, 57},
    {kContactLabel, 77, 87},
    {kContactAddress, 89, 107},
};

// A designed rectangle at a scale: its corner and its size scaled each.
RECT Scaled(const RECT& designed, int pixels_per_inch) {
  const int left = ScaledMeasure(designed.left, pixels_per_inch);
  const int top = ScaledMeasure(designed.top, pixels_per_inch);
  return RECT{left, top, left + ScaledMeasure(designed.right - designed.left, pixels_per_inch),
              top + ScaledMeasure(designed.bottom - designed.top, pixels_per_inch)};
}

}  // namespace

AboutWindow::AboutWindow(TApplication& application) {
  WNDCLASSEXW window_class = win::AttachedWindowClass<AboutWindow>(application.Instance(), kAboutClass);
  window_class.hIcon = ::LoadIconW(application.Instance(), MAKEINTRESOURCEW(1));
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  win::RegisterWindowClass(window_class);

  // Made hidden at the session's scale; once it stands on its monitor, it is laid out at
  // that monitor's.
  const int guess = win::SystemPixelsPerInch();
  const RECT bounds = Scaled(kWindowBounds, guess);
  const std::wstring caption = win::WideFromSjis(kCaption);
  window_ = win::UniqueWindow(::CreateWindowExW(
      WS_EX_CONTEXTHELP, kAboutClass, caption.c_str(),
      // Not clipping children: the group box paints only its frame and caption, the window
      // paints the background inside it.
      WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, bounds.left, bounds.top,
      bounds.right - bounds.left, bounds.bottom - bounds.top, application.Handle(), nullptr,
      application.Instance(), this));
  if (!window_) win::RaiseLastOSError();
  CreateControls(window_.Get());
  const int placed = win::WindowPixelsPerInch(window_.Get());
  LayOut(placed);
  if (placed != guess) win::MoveTo(window_.Get(), Scaled(kWindowBounds, placed));
}

AboutWindow::~AboutWindow() = default;

void AboutWindow::CreateControls(HWND window) {
  const auto add = [window](const wchar_t* window_class, const char* text, DWORD style) {
    const std::wstring wide = win::WideFromSjis(text);
    return win::CreateControl(
        {.parent = window, .window_class = window_class, .text = wide.c_str(), .style = style});
  };
  group_ = add(L"BUTTON", kGroupCaption, BS_GROUPBOX);
  // Children of the window (not of the group box), placed inside the group box's area.
  for (const LabelPlace& label : kLabels) {
    labels_.push_back(add(L"STATIC", label.text, SS_LEFT | SS_NOPREFIX));
  }
}

void AboutWindow::LayOut(int pixels_per_inch) {
  pixels_per_inch_ = pixels_per_inch;
  win::UniqueFont font = win::CreateScaledFont(kWindowFontFace, kFontHeight, pixels_per_inch);
  const RECT group = Scaled(kGroupBounds, pixels_per_inch);
  win::MoveTo(group_, group);
  ::SendMessageW(group_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);

  // The labels size themselves to their text, as the designed ones do.
  win::WindowDc screen(window_.Get());
  win::SelectedObject selected(screen.Get(), font.Get());
  for (std::size_t i = 0; i < labels_.size(); ++i) {
    const std::wstring wide = win::WideFromSjis(kLabels[i].text);
    SIZE size{};
    ::GetTextExtentPoint32W(screen.Get(), wide.c_str(), static_cast<int>(wide.size()), &size);
    const int left = group.left + ScaledMeasure(kLabels[i].left, pixels_per_inch);
    const int top = group.top + ScaledMeasure(kLabels[i].top, pixels_per_inch);
    win::MoveTo(labels_[i], RECT{left, top, left + size.cx, top + size.cy});
    ::SendMessageW(labels_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
  }
  // The controls have let go of the old font.
  font_ = std::move(font);
}

void AboutWindow::OnDpiChanged(int pixels_per_inch, const RECT& suggested) {
  LayOut(pixels_per_inch);
  win::MoveTo(window_.Get(), suggested);
}

void AboutWindow::ShowModal() {
  if (modal_) return;
  modal_ = true;
  close_requested_ = false;
  win::RunModal({.window = window_.Get(), .closed = &close_requested_, .foreground = true});
  modal_ = false;
}

LRESULT AboutWindow::HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:
      // Closing only hides the window; it lives until the program ends.
      if (modal_) {
        close_requested_ = true;
      } else {
        ::ShowWindow(window, SW_HIDE);
      }
      return 0;
    case WM_CTLCOLORSTATIC:
      // The labels and the group box caption on the window's button-face background.
      return win::StaticControlColors(wparam, COLOR_WINDOWTEXT, COLOR_BTNFACE);
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_HELP:
      return TRUE;  // no help topics for this window
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace pelmora
