#include "dialogs/win/message_form.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "base/win/control.h"
#include "base/win/display_scale.h"
#include "base/win/error_display.h"
#include "base/win/fonts.h"
#include "base/win/modal_loop.h"
#include "base/win/program_file.h"
#include "base/win/system_error.h"
#include "base/win/text.h"
#include "base/win/window.h"
#include "clipboard/win/clipboard.h"
#include "clipboard/win/clipboard_text.h"
#include "dialogs/message_box_layout.h"
#include "dialogs/win/dialog_host.h"

namespace pelmora {
namespace {

constexpr wchar_t kClassName[] = L"PelmoraMessageForm";
constexpr char kButtonCaption[] = "OK";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | DS_MODALFRAME;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

void RegisterMessageFormClass() {
  WNDCLASSEXW window_class =
      win::AttachedWindowClass<TMessageForm>(::GetModuleHandleW(nullptr), kClassName);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  win::RegisterWindowClass(window_class);
}

SIZE TextExtent(HDC dc, const std::wstring& text) {
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

// The clipboard's CF_TEXT is in the system's code page; on a Japanese system that is
// Shift-JIS already and the bytes pass unchanged.
std::string SystemCodePageText(const std::string& sjis) {
  const std::wstring wide = win::WideFromSjis(sjis);
  if (wide.empty()) return {};
  const int size = ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  if (size <= 0) return sjis;
  std::string text(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), text.data(),
                        size, nullptr, nullptr);
  return text;
}

// The box's layout for text and the button's caption in font, the text wrapped at
// wrap_width.
MessageBoxLayout MeasuredLayout(HFONT font, const std::wstring& text,
                                const std::wstring& button_caption, int wrap_width) {
  win::WindowDc screen(nullptr);
  win::SelectedObject selected(screen.Get(), font);
  MessageBoxFontMetrics metrics;
  const SIZE letters =
      TextExtent(screen.Get(), L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  metrics.letters_width = letters.cx;
  metrics.letters_height = letters.cy;
  metrics.ok_caption_width = TextExtent(screen.Get(), button_caption).cx;
  RECT area{0, 0, wrap_width, 0};
  ::DrawTextW(screen.Get(), text.c_str(), static_cast<int>(text.size()), &area,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  return LayOutMessageBox(MeasureMessageBox(metrics), area.right - area.left,
                          area.bottom - area.top);
}

}  // namespace

TMessageForm::TMessageForm(std::string message, std::string caption)
    : message_(std::move(message)), caption_(std::move(caption)) {
  Build();
}

TMessageForm::~TMessageForm() { win::ReleaseIfDestroyed(window_); }

void TMessageForm::Build() {
  RegisterMessageFormClass();
  const std::wstring caption = win::WideFromSjis(caption_);
  // The box opens on the monitor of the form the user works in. It is made hidden in the
  // middle of that monitor, so that it is laid out at the monitor's scale.
  const HWND form = win::PlacementForm(::GetActiveWindow());
  const RECT area = win::MonitorArea(form);
  HWND window = ::CreateWindowExW(kExStyle, kClassName, caption.c_str(), kStyle,
                                  (area.left + area.right) / 2, (area.top + area.bottom) / 2, 0,
                                  0, win::DialogOwner(), nullptr, ::GetModuleHandleW(nullptr),
                                  this);
  if (window == nullptr) win::RaiseLastOSError();
  window_.Reset(window);
  // No icon in the caption.
  ::SendMessageW(window, WM_SETICON, ICON_SMALL, 0);
  ::SendMessageW(window, WM_SETICON, ICON_BIG, 0);

  const std::wstring text = win::WideFromSjis(message_);
  const std::wstring button_caption = win::WideFromSjis(kButtonCaption);
  win::CreateControl({.parent = window, .window_class = L"STATIC", .text = text.c_str(),
                      .style = SS_LEFT | SS_NOPREFIX, .id = kMessageId});
  win::CreateControl({.parent = window, .window_class = L"BUTTON", .text = button_caption.c_str(),
                      .style = WS_TABSTOP | BS_DEFPUSHBUTTON, .id = IDOK});
  LayOut(win::WindowPixelsPerInch(window));
  win::CentreOnMonitor(window, form, VerticalPlace::Middle);
}

void TMessageForm::LayOut(int pixels_per_inch) {
  // The platform's message-box font, or the system's GUI font when the platform has none.
  win::UniqueFont font = win::CreateMessageFont(pixels_per_inch);
  const HFONT shown = win::FontOrGuiFont(font.Get());
  const RECT monitor = win::MonitorArea(Handle());
  const MessageBoxLayout layout =
      MeasuredLayout(shown, win::WideFromSjis(message_), win::WideFromSjis(kButtonCaption),
                     MessageWrapWidth(monitor.right - monitor.left));

  HWND window = Handle();
  for (const auto& [id, bounds] :
       {std::pair{kMessageId, layout.message}, std::pair{IDOK, layout.button}}) {
    HWND control = ::GetDlgItem(window, id);
    win::MoveTo(control, RECT{bounds.left, bounds.top, bounds.left + bounds.width,
                              bounds.top + bounds.height});
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(shown), TRUE);
  }
  // The controls have let go of the old font.
  font_ = std::move(font);

  const SIZE size = win::WindowSizeForClient(SIZE{layout.client_width, layout.client_height},
                                             kStyle, kExStyle, pixels_per_inch);
  ::SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TMessageForm::OnCommand(int id) {
  // Esc stands for the cancel button the box does not show.
  if (id == IDOK || id == IDCANCEL) closed_ = true;
  return 0;
}

LRESULT TMessageForm::OnClose() {
  closed_ = true;
  return 0;
}

LRESULT TMessageForm::OnDpiChanged(int pixels_per_inch, const RECT& suggested) {
  // Where the system suggests, at the size the box's own layout gives at the new scale.
  LayOut(pixels_per_inch);
  ::SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return 0;
}

std::string TMessageForm::ClipboardText() const {
  return MessageBoxClipboardText(caption_, message_, {kButtonCaption});
}

void TMessageForm::CopyToClipboard() const {
  ::MessageBeep(0);
  const std::string sjis = ClipboardText();
  const std::string text = SystemCodePageText(sjis);
  const std::wstring wide = win::WideFromSjis(sjis);
  win::UniqueGlobal narrow_memory = TerminatedCopy(std::string_view(text));
  win::UniqueGlobal wide_memory = TerminatedCopy(std::wstring_view(wide));
  TClipboard& clipboard = Clipboard();
  ClipboardOpening opening(clipboard);
  // Both formats: CF_TEXT for programs that read only it, and the UTF-16 that keeps the
  // Japanese on a system whose code page is not 932.
  if (clipboard.PlaceHandle(CF_TEXT, narrow_memory.Get())) narrow_memory.Release();
  if (clipboard.PlaceHandle(CF_UNICODETEXT, wide_memory.Get())) wide_memory.Release();
}

bool TMessageForm::IsCopyKey(const MSG& message) const {
  if (message.message != WM_KEYDOWN || message.wParam != 'C') return false;
  if (message.hwnd != Handle() && !::IsChild(Handle(), message.hwnd)) return false;
  return (::GetKeyState(VK_CONTROL) & 0x8000) && !(::GetKeyState(VK_SHIFT) & 0x8000) &&
         !(::GetKeyState(VK_MENU) & 0x8000);
}

void TMessageForm::ShowModal() {
  closed_ = false;
  win::RunModal({.window = Handle(),
                 .closed = &closed_,
                 .focus = ::GetDlgItem(Handle(), IDOK),
                 .filter = [this](MSG& message) {
                   if (IsCopyKey(message)) {
                     win::Dispatch([this] {
                       CopyToClipboard();
                       return LRESULT{0};
                     });
                     return true;
                   }
                   return ::IsDialogMessageW(Handle(), &message) != FALSE;
                 }});
}

LRESULT TMessageForm::HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND: return OnCommand(LOWORD(wparam));
    case WM_CLOSE: return OnClose();
    case WM_CTLCOLORSTATIC:
      return win::StaticControlColors(wparam, COLOR_BTNTEXT, COLOR_BTNFACE);
    case WM_DPICHANGED: return OnDpiChanged(HIWORD(wparam), *reinterpret_cast<RECT*>(lparam));
    case DM_GETDEFID: return MAKELRESULT(IDOK, DC_HASDEFID);
    default: return ::DefWindowProcW(window, message, wparam, lparam);
  }
}

void ShowMessage(const std::string& message) {
  TMessageForm form(message, win::ApplicationTitle());
  form.ShowModal();
}

}  // namespace pelmora
