#include "view/win/preview_panel.h"

#include "base/win/control.h"
#include "base/win/fonts.h"
#include "base/win/text.h"
#include "base/win/window.h"
#include "picture/picture.h"
#include "view/picture_rect.h"
#include "view/win/dc_canvas.h"

namespace pelmora {
namespace {

constexpr wchar_t kClassName[] = L"PelmoraPreviewPanel";

// The client point a mouse message carries.
POINT PointFromLparam(LPARAM lparam) {
  return POINT{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
}

void RegisterPanelClass() {
  WNDCLASSEXW window_class =
      win::AttachedWindowClass<TPreviewPanel>(::GetModuleHandleW(nullptr), kClassName);
  window_class.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  win::RegisterWindowClass(window_class);
}

}  // namespace

TPreviewPanel::TPreviewPanel(HWND parent, const RECT& bounds, int id, const Look& look,
                             HFONT font)
    : look_(look), font_(font) {
  RegisterPanelClass();
  DWORD style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (look.single_border) style |= WS_BORDER;
  window_.Reset(win::CreateControl({.parent = parent,
                                    .window_class = kClassName,
                                    .style = style,
                                    .bounds = bounds,
                                    .id = id,
                                    .create_param = this}));
}

TPreviewPanel::~TPreviewPanel() { win::ReleaseIfDestroyed(window_); }

void TPreviewPanel::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  ::SetWindowTextW(Handle(), win::WideFromSjis(caption_).c_str());
  ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TPreviewPanel::SetBounds(const RECT& bounds) { win::MoveTo(Handle(), bounds); }

void TPreviewPanel::SetBorderWidth(int border_width) {
  look_.border_width = border_width;
  ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TPreviewPanel::SetFont(HFONT font) {
  font_ = font;
  ::InvalidateRect(Handle(), nullptr, FALSE);
}

RECT TPreviewPanel::InnerRect() const {
  RECT inner{};
  ::GetClientRect(Handle(), &inner);
  const int inset = look_.border_width + (look_.bevels ? 2 : 0);
  ::InflateRect(&inner, -inset, -inset);
  if (inner.right < inner.left) inner.right = inner.left;
  if (inner.bottom < inner.top) inner.bottom = inner.top;
  return inner;
}

void TPreviewPanel::SetPicture(const TPicture* picture) {
  picture_ = picture;
  ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TPreviewPanel::Paint(HDC dc, const RECT& client) {
  ::FillRect(dc, &client, ::GetSysColorBrush(look_.background));
  if (look_.bevels) {
    RECT edge = client;
    ::DrawEdge(dc, &edge, BDR_SUNKENOUTER | BDR_RAISEDINNER, BF_RECT);
  }
  if (!caption_.empty()) {
    const std::wstring text = win::WideFromSjis(caption_);
    RECT area = InnerRect();
    win::SelectedObject font(dc, win::FontOrGuiFont(font_));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  DrawPicture(dc);
}

void TPreviewPanel::DrawPicture(HDC dc) {
  if (picture_ == nullptr || picture_->Graphic() == nullptr) return;
  TGraphic& graphic = *picture_->Graphic();
  if (graphic.Empty()) return;
  const RECT inner = InnerRect();
  PictureRectParams params;
  params.picture_width = graphic.Width();
  params.picture_height = graphic.Height();
  params.view_width = inner.right - inner.left;
  params.view_height = inner.bottom - inner.top;
  params.stretch = params.proportional = params.center = true;
  TRect dest = PictureRect(params);
  dest.left += inner.left;
  dest.right += inner.left;
  dest.top += inner.top;
  dest.bottom += inner.top;
  try {
    win::DcCanvas canvas(dc);
    graphic.Draw(canvas, dest);
  } catch (...) {
    if (on_draw_failure_) on_draw_failure_();
  }
}

LRESULT TPreviewPanel::HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;  // painted whole in WM_PAINT
    case WM_PAINT: return OnPaint();
    case WM_LBUTTONDBLCLK: return OnDoubleClick(PointFromLparam(lparam));
    case WM_COMMAND: return OnCommand(LOWORD(wparam), HIWORD(wparam), lparam != 0);
    case WM_CTLCOLORSTATIC:
      // The label on the panel's own background.
      return win::StaticControlColors(wparam, COLOR_BTNTEXT, look_.background);
    default: return ::DefWindowProcW(window, message, wparam, lparam);
  }
}

LRESULT TPreviewPanel::OnPaint() {
  win::PaintDc paint(Handle());
  RECT client{};
  ::GetClientRect(Handle(), &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  win::UniqueMemoryDc memory(::CreateCompatibleDC(paint.Get()));
  win::UniqueBitmap surface(::CreateCompatibleBitmap(paint.Get(), width, height));
  if (!memory || !surface) {
    Paint(paint.Get(), client);
    return 0;
  }
  win::SelectedObject selected(memory.Get(), surface.Get());
  Paint(memory.Get(), client);
  ::BitBlt(paint.Get(), 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
  return 0;
}

LRESULT TPreviewPanel::OnDoubleClick(POINT at) {
  const RECT inner = InnerRect();
  if (on_double_click_ && ::PtInRect(&inner, at)) on_double_click_();
  return 0;
}

LRESULT TPreviewPanel::OnCommand(int id, int code, bool from_control) {
  if (on_command_ && from_control) on_command_(id, code);
  return 0;
}

}  // namespace pelmora
