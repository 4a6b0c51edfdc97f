#include "richtext/win/rich_edit.h"

#include <richedit.h>
#include <windowsx.h>

#include <string>

#include "base/muldiv.h"
#include "base/win/display_scale.h"
#include "base/win/error_display.h"
#include "base/win/handles.h"
#include "base/win/system_error.h"
#include "base/win/text.h"
#include "base/win/window.h"
#include "richtext/win/rich_edit_library.h"

namespace pelmora {
namespace {

// The notifications the view asks its control for.
constexpr LPARAM kEventMask = ENM_CHANGE | ENM_REQUESTRESIZE | ENM_SELCHANGE | ENM_PROTECTED;
// The character format's face name holds 31 characters and its terminator.
constexpr std::size_t kMaxFaceChars = LF_FACESIZE - 1;
// Language options the control turns on by default and the view turns off, so that text
// keeps the view's font as the user sees it: no font or size chosen behind the user's back
// for a keyboard or script (automatic font, its size adjustment, and the dual font that
// would put ASCII in another face), and no keyboard switched by moving the caret.
constexpr LPARAM kLanguageOptionsOff =
    IMF_AUTOFONT | IMF_AUTOFONTSIZEADJUST | IMF_DUALFONT | IMF_AUTOKEYBOARD;
// OnPaint invalidates this many pixels at the right edge with erasing, where the control
// leaves remains of the text when the view is narrowed.
constexpr LONG kRightStripWidth = 3;

// The view whose window is being made; it takes the window at its first message.
thread_local TRichEdit* creating_view = nullptr;
const win::RichEditClass* view_class = nullptr;
// How many views are painting right now, on this (the only GUI) thread.
int painting_views = 0;

std::uint32_t SystemColor(int index) { return ::GetSysColor(index); }

// A Far-East system whose primary language is not Japanese reads the Shift-JIS character
// set wrongly, so there the view's font takes the system's default character set.
bool FarEastButNotJapanese() {
  return ::GetSystemMetrics(SM_DBCSENABLED) != 0 &&
         PRIMARYLANGID(::GetSystemDefaultLangID()) != LANG_JAPANESE;
}

// Where the character stands in the view, down from its top, in pixels.
LONG CharacterTop(HWND view, LRESULT character) {
  POINTL at{};
  ::SendMessageW(view, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), character);
  return at.y;
}

}  // namespace

TFont TRichEdit::DefaultFont() {
  return {"ＭＳ ゴシック", -13, SHIFTJIS_CHARSET, clWindowText, 0};
}

TRichEdit::TRichEdit(HWND parent, const RECT& bounds)
    : parent_(parent), bounds_(bounds), font_(DefaultFont()) {}

TRichEdit::~TRichEdit() {
  if (handle_) ::DestroyWindow(handle_);
}

HWND TRichEdit::HandleNeeded() {
  if (!handle_) CreateHandle();
  return handle_;
}

void TRichEdit::CreateHandle() {
  // Without the library there is no control to make; the next creation tries again.
  win::LoadRichEditLibrary();
  view_class = win::RegisterRichEditClass(&TRichEdit::WindowProc);
  if (!view_class) win::RaiseLastOSError();

  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL |
                      WS_HSCROLL | WS_VSCROLL | (visible_ ? WS_VISIBLE : 0);
  creating_view = this;
  HWND window =
      ::CreateWindowExW(WS_EX_CLIENTEDGE, view_class->name, L"", style, bounds_.left, bounds_.top,
                        bounds_.right - bounds_.left, bounds_.bottom - bounds_.top, parent_,
                        nullptr, ::GetModuleHandleW(nullptr), nullptr);
  creating_view = nullptr;
  if (!window) win::RaiseLastOSError();
  handle_ = window;

  Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  // Where the control differs from the first rich-edit version in what a user sees: links
  // stay plain text, and the language options keep the view's font (see above).
  Send(EM_AUTOURLDETECT, FALSE);
  Send(EM_SETLANGOPTIONS, 0, Send(EM_GETLANGOPTIONS) & ~kLanguageOptionsOff);
  SendDefaultFormat();
  // The control's default limit of about 64 K characters would cut a longer text short
  // on paste, and restyle and save would then pass on the shortened text.
  Send(EM_EXLIMITTEXT, 0, kTextLimit);
  Send(EM_SETMODIFY, modified_ ? TRUE : FALSE);
  if (FarEastButNotJapanese()) {
    font_.charset = DEFAULT_CHARSET;
    SendDefaultFormat();
  }
  Send(EM_SETEVENTMASK, 0, kEventMask);
  Send(EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(color_, SystemColor)));
  if (pixels_per_inch_ != 0) ApplyZoom();
}

LRESULT TRichEdit::Send(UINT message, WPARAM wparam, LPARAM lparam) {
  return ::SendMessageW(handle_, message, wparam, lparam);
}

LRESULT TRichEdit::CallControl(UINT message, WPARAM wparam, LPARAM lparam) {
  return ::CallWindowProcW(control_proc_, handle_, message, wparam, lparam);
}

void TRichEdit::SetVisible(bool visible) {
  visible_ = visible;
  if (handle_) ::ShowWindow(handle_, visible ? SW_SHOW : SW_HIDE);
}

void TRichEdit::SetBounds(const RECT& bounds) {
  bounds_ = bounds;
  win::MoveTo(handle_, bounds);
}

void TRichEdit::SetFont(const TFont& font) {
  font_ = font;
  if (handle_) SendDefaultFormat();
}

void TRichEdit::SetPixelsPerInch(int pixels_per_inch) {
  pixels_per_inch_ = pixels_per_inch;
  if (handle_) ApplyZoom();
}

void TRichEdit::ApplyZoom() {
  const int session = win::SystemPixelsPerInch();
  const bool zoomed = pixels_per_inch_ != 0 && pixels_per_inch_ != session;
  // 1:1 rather than off (0, 0), after which the control under Wine keeps its old layout
  // until it is resized.
  Send(EM_SETZOOM, zoomed ? pixels_per_inch_ : 1, zoomed ? session : 1);
}

TRichEdit::KeptTop::KeptTop(TRichEdit& view) : view_(view) {
  if (!view_.handle_) return;
  character_ = view_.Send(EM_LINEINDEX, view_.Send(EM_GETFIRSTVISIBLELINE));
  y_ = CharacterTop(view_.handle_, character_);
}

TRichEdit::KeptTop::~KeptTop() {
  if (!view_.handle_) return;
  POINT scroll{};
  view_.Send(EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
  scroll.y += CharacterTop(view_.handle_, character_) - y_;
  view_.Send(EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
}

void TRichEdit::SendDefaultFormat() {
  SendCharFormat(0, ColorChange(font_.color, SystemColor));
  SendCharFormat(0, FaceChange(font_.name));
  SendCharFormat(0, CharsetChange(font_.charset));
  SendCharFormat(0, StyleChange(font_.style));
  // The height is designed at 96 pixels per inch; the control shows the size in points at
  // the window's scale.
  SendCharFormat(0, SizeChange(font_.Size(kDesignedPixelsPerInch)));
}

void TRichEdit::SendCharFormat(WPARAM target, const CharFormatChange& change) {
  CHARFORMAT2W format{};
  format.cbSize = sizeof(format);
  format.dwMask = change.mask;
  format.dwEffects = change.effects;
  format.yHeight = change.height_twips;
  format.crTextColor = change.text_color;
  format.bCharSet = change.charset;
  if (change.mask & CFM_FACE) {
    win::WideFromSjis(change.face).copy(format.szFaceName, kMaxFaceChars);
  }
  Send(EM_SETCHARFORMAT, target, reinterpret_cast<LPARAM>(&format));
}

void TRichEdit::Clear() {
  if (handle_ && Send(WM_GETTEXTLENGTH) > 0) {
    // Text goes with its window: a new window of the control is empty at once, while some
    // versions of the control (Wine's) take time in the square of the paragraphs to empty
    // one in place, and then to fill it again.
    const bool focused = ::GetFocus() == handle_;
    ::DestroyWindow(handle_);
    CreateHandle();
    if (focused) ::SetFocus(handle_);
  }
  HandleNeeded();
  Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  Send(EM_EMPTYUNDOBUFFER);
  Send(EM_SETMODIFY, FALSE);
}

void TRichEdit::SelectAll() {
  HandleNeeded();
  Send(EM_SETSEL, 0, -1);
}

void TRichEdit::SetCaret(std::int32_t position) {
  HandleNeeded();
  CHARRANGE range{position, position};
  Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void TRichEdit::SetSelColor(TColor color) {
  if (handle_) SendCharFormat(SCF_SELECTION, ColorChange(color, SystemColor));
}

void TRichEdit::SetSelSize(int points) {
  if (handle_) SendCharFormat(SCF_SELECTION, SizeChange(points));
}

void TRichEdit::SetSelStyle(TFontStyles style) {
  if (handle_) SendCharFormat(SCF_SELECTION, StyleChange(style));
}

bool TRichEdit::Modified() {
  HandleNeeded();
  return Send(EM_GETMODIFY) != 0;
}

bool TRichEdit::HandleNotify(const NMHDR& header, LRESULT& result) {
  if (!handle_ || header.hwndFrom != handle_) return false;
  switch (header.code) {
    case EN_PROTECTED:
      result = 1;  // protected text stays as it is
      return true;
    case EN_SAVECLIPBOARD:
      result = 0;  // what the view copied stays on the clipboard after it is gone
      return true;
    case EN_SELCHANGE:
    case EN_REQUESTRESIZE:
      result = 0;
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK TRichEdit::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  const int offset = view_class->pointer_offset;
  auto* view = reinterpret_cast<TRichEdit*>(::GetWindowLongPtrW(window, offset));
  if (!view && creating_view) {
    view = std::exchange(creating_view, nullptr);
    view->handle_ = window;
    view->control_proc_ = view_class->control_proc;
    ::SetWindowLongPtrW(window, offset, reinterpret_cast<LONG_PTR>(view));
  }
  if (!view) return ::CallWindowProcW(view_class->control_proc, window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, offset, 0);
    const LRESULT result = view->CallControl(message, wparam, lparam);
    view->handle_ = nullptr;
    return result;
  }
  return win::Dispatch([&] { return view->HandleMessage(message, wparam, lparam); });
}

LRESULT TRichEdit::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SETFONT: SendDefaultFormat(); return 0;
    case WM_PAINT: return OnPaint(wparam, lparam);
    case WM_SETCURSOR: return OnSetCursor(wparam, lparam);
    case WM_COPY: Copy(); return 0;
    case WM_CUT: Cut(); return 0;
    case WM_PASTE: Paste(); return 0;
    case WM_CONTEXTMENU: return OnContextMenu(wparam, lparam);
    case WM_GETDLGCODE: return CallControl(message, wparam, lparam) & ~DLGC_WANTTAB;
    case WM_KEYDOWN: return OnKeyDown(wparam, lparam);
    case WM_CHAR: return OnChar(wparam, lparam);
    case WM_DESTROY: return OnDestroy(wparam, lparam);
    default: return CallControl(message, wparam, lparam);
  }
}

LRESULT TRichEdit::OnContextMenu(WPARAM wparam, LPARAM lparam) {
  if (::GetFocus() != handle_) ::SetFocus(handle_);
  if (!on_context_menu_) return CallControl(WM_CONTEXTMENU, wparam, lparam);
  on_context_menu_(POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
  return 0;
}

LRESULT TRichEdit::OnKeyDown(WPARAM wparam, LPARAM lparam) {
  if (HandleClipboardKey(wparam)) return 0;
  // Tab (Shift+Tab backwards) moves the focus on, as in a dialog; Ctrl+Tab still types a
  // tab character.
  if (wparam != VK_TAB || ::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0) {
    return CallControl(WM_KEYDOWN, wparam, lparam);
  }
  HWND next = ::GetNextDlgTabItem(::GetAncestor(handle_, GA_ROOT), handle_,
                                  ::GetKeyState(VK_SHIFT) < 0);
  // The view may be the window's only stop; then the focus stays where it is.
  if (next != nullptr && next != handle_ &&
      (::GetWindowLongW(next, GWL_STYLE) & WS_TABSTOP) != 0) {
    ::SetFocus(next);
  }
  return 0;
}

LRESULT TRichEdit::OnChar(WPARAM wparam, LPARAM lparam) {
  // The character that Tab's key press brings along, and the control characters of Ctrl+C,
  // Ctrl+X and Ctrl+V, whose keys were handled already.
  if (wparam == '\t' && ::GetKeyState(VK_CONTROL) >= 0) return 0;
  if (wparam == 0x03 || wparam == 0x18 || wparam == 0x16) return 0;
  return CallControl(WM_CHAR, wparam, lparam);
}

LRESULT TRichEdit::OnDestroy(WPARAM wparam, LPARAM lparam) {
  modified_ = CallControl(EM_GETMODIFY, 0, 0) != 0;
  return CallControl(WM_DESTROY, wparam, lparam);
}

LRESULT TRichEdit::OnPaint(WPARAM wparam, LPARAM lparam) {
  if (painting_views > 0) {
    // A paint from inside another paint would draw over a half-drawn view; it comes
    // again once the outer paint is done.
    ::InvalidateRect(handle_, nullptr, FALSE);
    return 0;
  }
  RECT client{};
  ::GetClientRect(handle_, &client);
  const RECT strip{client.right - kRightStripWidth, client.top, client.right, client.bottom};
  win::UniqueRegion update(::CreateRectRgn(0, 0, 0, 0));
  if (update && ::GetUpdateRgn(handle_, update.Get(), FALSE) > NULLREGION &&
      ::RectInRegion(update.Get(), &strip)) {
    ::InvalidateRect(handle_, &strip, TRUE);
  }
  struct PaintingGuard {
    PaintingGuard() { ++painting_views; }
    ~PaintingGuard() { --painting_views; }
  } guard;
  return CallControl(WM_PAINT, wparam, lparam);
}

LRESULT TRichEdit::OnSetCursor(WPARAM wparam, LPARAM lparam) {
  const LRESULT handled = CallControl(WM_SETCURSOR, wparam, lparam);
  if (handled) return handled;
  POINT point{};
  ::GetCursorPos(&point);
  const LRESULT hit = Send(WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
  LPCWSTR cursor = nullptr;
  if (hit == HTCLIENT) {
    cursor = IDC_IBEAM;
  } else if (hit == HTVSCROLL || hit == HTHSCROLL) {
    cursor = IDC_ARROW;
  }
  if (!cursor) return handled;
  ::SetCursor(::LoadCursorW(nullptr, cursor));
  return TRUE;
}

}  // namespace pelmora
