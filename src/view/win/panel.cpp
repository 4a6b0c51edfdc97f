#include "view/win/panel.h"

#include <algorithm>

#include "base/win/control.h"
#include "base/win/fonts.h"
#include "base/win/text.h"
#include "base/win/window.h"

namespace pelmora {
namespace {

constexpr wchar_t kPanelClass[] = L"PelmoraPanel";
constexpr int kPanelFontHeight = 16;  // character height in pixels at 96 dpi

}  // namespace

TPanel::TPanel(HWND parent, const RECT& bounds, int pixels_per_inch)
    : font_(win::CreateScaledFont(kWindowFontFace, kPanelFontHeight, pixels_per_inch)) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW window_class = win::AttachedWindowClass<TPanel>(instance, kPanelClass);
  // Redrawn whole on every size change, so the caption stays centred.
  window_class.style = CS_HREDRAW | CS_VREDRAW;
  win::RegisterWindowClass(window_class);

  const std::wstring caption = win::WideFromSjis(caption_);
  window_ = win::UniqueWindow(win::CreateControl({.parent = parent,
                                                   .window_class = kPanelClass,
                                                   .text = caption.c_str(),
                                                   .style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                                                   .bounds = bounds,
                                                   .create_param = this}));
}

TPanel::~TPanel() = default;

void TPanel::SetPixelsPerInch(int pixels_per_inch) {
  font_ = win::CreateScaledFont(kWindowFontFace, kPanelFontHeight, pixels_per_inch);
  if (window_) ::InvalidateRect(window_.Get(), nullptr, FALSE);
}

void TPanel::SetBounds(const RECT& bounds) {
  ::MoveWindow(window_.Get(), bounds.left, bounds.top, bounds.right - bounds.left,
               bounds.bottom - bounds.top, TRUE);
}

void TPanel::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  const std::wstring text = win::WideFromSjis(caption_);
  ::SetWindowTextW(window_.Get(), text.c_str());
  ::InvalidateRect(window_.Get(), nullptr, FALSE);
}

void TPanel::AddWindowlessChild(WindowlessChild* child) { children_.push_back(child); }

void TPanel::RemoveWindowlessChild(WindowlessChild* child) {
  children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
}

void TPanel::InvalidateArea(const RECT& area) {
  // The panel paints its whole background itself; no erase is asked for.
  if (window_) ::InvalidateRect(window_.Get(), &area, FALSE);
}

void TPanel::PaintTo(HDC dc, const RECT& update) {
  {
    // 1. Leave out what opaque children cover.
    win::SavedDc saved(dc);
    bool anything_left = true;
    for (const WindowlessChild* child : children_) {
      if (!child->Visible() || !child->Opaque()) continue;
      const RECT r = child->Bounds();
      if (::ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom) == NULLREGION) {
        anything_left = false;
        break;
      }
    }
    // 2. Background and caption in what is left.
    if (anything_left) PaintBackground(dc);
  }

  // 3. The children that meet the update region, each on its own origin and clip.
  for (WindowlessChild* child : children_) {
    const RECT r = child->Bounds();
    RECT common;
    if (!child->Visible() || !::IntersectRect(&common, &r, &update)) continue;
    // Restored also when the child fails, so the panel's own state is never left shifted.
    win::SavedDc saved(dc);
    ::IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    ::OffsetViewportOrgEx(dc, r.left, r.top, nullptr);
    child->Paint(dc);
  }
}

void TPanel::PaintBackground(HDC dc) {
  RECT client;
  ::GetClientRect(window_.Get(), &client);
  ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));

  win::SelectedObject font(dc, font_.Get());
  win::SelectedObject brush(dc, ::GetStockObject(NULL_BRUSH));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  SIZE w_size{};
  ::GetTextExtentPoint32W(dc, L"W", 1, &w_size);
  const int fh = w_size.cy;
  RECT band = client;
  // The text band: one line high, centred in the client area (division toward zero).
  band.top = (client.top + client.bottom - fh) / 2;
  band.bottom = band.top + fh;
  const std::wstring caption = win::WideFromSjis(caption_);
  ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &band,
              DT_CENTER | DT_VCENTER | DT_EXPANDTABS);
}

LRESULT TPanel::HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_PAINT: {
      win::PaintDc paint(window);
      if (paint.Get()) PaintTo(paint.Get(), paint.UpdateRect());
      return 0;
    }
    case WM_WINDOWPOSCHANGED: {
      // Moved or resized: repaint everything, so the caption is centred anew.
      const auto* position = reinterpret_cast<const WINDOWPOS*>(lparam);
      if ((position->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) {
        ::InvalidateRect(window, nullptr, FALSE);
      }
      break;
    }
    case WM_COMMAND:
    case WM_NOTIFY:
      // The text view's notifications are the main window's business.
      return ::SendMessageW(::GetParent(window), message, wparam, lparam);
    case WM_PRINTCLIENT: {
      RECT client;
      ::GetClientRect(window, &client);
      PaintTo(reinterpret_cast<HDC>(wparam), client);
      return 0;
    }
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace pelmora
