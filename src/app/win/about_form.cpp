#include "app/win/about_form.h"

#include "app/win/application.h"
#include "base/win/control.h"
#include "base/win/fonts.h"
#include "base/win/modal_loop.h"
#include "base/win/system_error.h"
#include "base/win/text.h"
#include "base/win/window.h"
#include "pelmora_version.h"

namespace pelmora {
namespace {

constexpr wchar_t kAboutClass[] = L"TForm2";
constexpr char kCaption[] = "Help";
constexpr char kGroupCaption[] = "Ver " PELMORA_VERSION_TEXT;
constexpr char kUpdatesLabel[] = "バージョンアップは";
constexpr char kProjectPage[] = "https://pelmora.example/";
constexpr char kContactLabel[] = "このプログラムに付いて";
constexpr char kContactAddress[] = "support@pelmora.example";
constexpr char kFontFace[] = "ＭＳ Ｐゴシック";
constexpr int kFontHeight = 12;

// Designed at 96 dpi: the window's outer rectangle on the screen, the group box in the
// client area, the labels inside the group box.
constexpr RECT kWindowBounds{367, 94, 367 + 350, 94 + 195};
constexpr RECT kGroupBounds{16, 12, 16 + 313, 12 + 141};
struct LabelPlace {
  const char* text;
  int left, top;
};
constexpr LabelPlace kLabels[] = {
    {kUpdatesLabel, 77, 41},    // Label4
    {kProjectPage, 89, 57},     // Label3
    {kContactLabel, 77, 87},    // Label5
    {kContactAddress, 89, 107}, // Label2
};

}  // namespace

TForm2::TForm2(TApplication& application)
    : font_(win::CreateScaledFont(kFontFace, kFontHeight)) {
  WNDCLASSEXW window_class = win::AttachedWindowClass<TForm2>(application.Instance(), kAboutClass);
  window_class.hIcon = ::LoadIconW(application.Instance(), MAKEINTRESOURCEW(1));
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  win::RegisterWindowClass(window_class);

  const std::wstring caption = win::WideFromSjis(kCaption);
  window_ = win::UniqueWindow(::CreateWindowExW(
      WS_EX_CONTEXTHELP, kAboutClass, caption.c_str(),
      // Not clipping children: the group box paints only its frame and caption, the window
      // paints the background inside it.
      WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
      win::ScaleToScreen(kWindowBounds.left), win::ScaleToScreen(kWindowBounds.top),
      win::ScaleToScreen(kWindowBounds.right - kWindowBounds.left),
      win::ScaleToScreen(kWindowBounds.bottom - kWindowBounds.top), application.Handle(),
      nullptr, application.Instance(), this));
  if (!window_) win::RaiseLastOSError();
  CreateControls(window_.Get());
}

TForm2::~TForm2() = default;

HWND TForm2::AddControl(HWND parent, const wchar_t* window_class, const std::string& text,
                        DWORD style, const RECT& bounds) {
  const std::wstring wide = win::WideFromSjis(text);
  return win::CreateControl({.parent = parent,
                             .window_class = window_class,
                             .text = wide.c_str(),
                             .style = style,
                             .bounds = bounds,
                             .font = font_.Get()});
}

void TForm2::CreateControls(HWND window) {
  const RECT group{win::ScaleToScreen(kGroupBounds.left), win::ScaleToScreen(kGroupBounds.top),
                   win::ScaleToScreen(kGroupBounds.right), win::ScaleToScreen(kGroupBounds.bottom)};
  AddControl(window, L"BUTTON", kGroupCaption, BS_GROUPBOX, group);

  // The labels size themselves to their text, as the designed ones do.
  win::WindowDc screen(window);
  win::SelectedObject selected(screen.Get(), font_.Get());
  for (const LabelPlace& label : kLabels) {
    const std::wstring wide = win::WideFromSjis(label.text);
    SIZE size{};
    ::GetTextExtentPoint32W(screen.Get(), wide.c_str(), static_cast<int>(wide.size()), &size);
    // Children of the window (not of the group box), placed inside the group box's area.
    const int left = group.left + win::ScaleToScreen(label.left);
    const int top = group.top + win::ScaleToScreen(label.top);
    AddControl(window, L"STATIC", label.text, SS_LEFT | SS_NOPREFIX,
               RECT{left, top, left + size.cx, top + size.cy});
  }
}

void TForm2::ShowModal() {
  if (modal_) return;
  modal_ = true;
  close_requested_ = false;
  win::RunModal({.window = window_.Get(), .closed = &close_requested_, .foreground = true});
  modal_ = false;
}

LRESULT TForm2::HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
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
      return win::StaticColorsOnButtonFace(wparam, COLOR_WINDOWTEXT);
    case WM_HELP:
      return TRUE;  // no help topics for this window
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace pelmora
