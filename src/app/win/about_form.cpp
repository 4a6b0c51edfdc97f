#include "app/win/about_form.h"

#include "app/win/application.h"
#include "base/win/system_error.h"
#include "base/win/task_windows.h"
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

TForm2::TForm2(TApplication& application) : application_(application) {
  LOGFONTW font{};
  font.lfHeight = -win::ScaleToScreen(kFontHeight);
  font.lfCharSet = SHIFTJIS_CHARSET;
  win::WideFromSjis(kFontFace).copy(font.lfFaceName, LF_FACESIZE - 1);
  font_ = win::UniqueFont(::CreateFontIndirectW(&font));

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
                        DWORD style, int left, int top, int width, int height) {
  const std::wstring wide = win::WideFromSjis(text);
  HWND control = ::CreateWindowExW(0, window_class, wide.c_str(), WS_CHILD | WS_VISIBLE | style,
                                   left, top, width, height, parent, nullptr,
                                   application_.Instance(), nullptr);
  if (!control) win::RaiseLastOSError();
  ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  return control;
}

void TForm2::CreateControls(HWND window) {
  const RECT group{win::ScaleToScreen(kGroupBounds.left), win::ScaleToScreen(kGroupBounds.top),
                   win::ScaleToScreen(kGroupBounds.right), win::ScaleToScreen(kGroupBounds.bottom)};
  AddControl(window, L"BUTTON", kGroupCaption, BS_GROUPBOX, group.left, group.top,
             group.right - group.left, group.bottom - group.top);

  // The labels size themselves to their text, as the designed ones do.
  win::WindowDc screen(window);
  win::SelectedObject selected(screen.Get(), font_.Get());
  for (const LabelPlace& label : kLabels) {
    const std::wstring wide = win::WideFromSjis(label.text);
    SIZE size{};
    ::GetTextExtentPoint32W(screen.Get(), wide.c_str(), static_cast<int>(wide.size()), &size);
    // Children of the window (not of the group box), placed inside the group box's area.
    AddControl(window, L"STATIC", label.text, SS_LEFT | SS_NOPREFIX,
               group.left + win::ScaleToScreen(label.left), group.top + win::ScaleToScreen(label.top),
               size.cx, size.cy);
  }
}

void TForm2::ShowModal() {
  if (modal_) return;
  HWND window = window_.Get();
  HWND active = ::GetActiveWindow();
  {
    win::DisabledTaskWindows disabled(window);
    modal_ = true;
    close_requested_ = false;
    ::ShowWindow(window, SW_SHOW);
    ::SetForegroundWindow(window);
    ::SetActiveWindow(window);

    MSG message;
    while (!close_requested_) {
      const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
      if (got == 0) {
        // The program is ending: leave the modal loop and let the outer loop see the quit.
        ::PostQuitMessage(static_cast<int>(message.wParam));
        break;
      }
      if (got == -1) break;
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    modal_ = false;
  }
  // The other windows are enabled again before this one hides, so activation returns to
  // the window that was active before rather than to another program.
  ::ShowWindow(window, SW_HIDE);
  if (active && ::IsWindow(active)) ::SetActiveWindow(active);
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
    case WM_CTLCOLORSTATIC: {
      // The labels and the group box caption on the window's button-face background.
      HDC dc = reinterpret_cast<HDC>(wparam);
      ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
      ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_HELP:
      return TRUE;  // no help topics for this window
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace pelmora
