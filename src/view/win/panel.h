#pragma once
// The panel behind the main window's views: a child window that paints its background
// and its caption ("No Data") wherever no opaque windowless child covers it, and then paints
// those children (the image view) onto its surface.
#include <windows.h>

#include <string>
#include <vector>

#include "base/strings.h"
#include "base/win/handles.h"

namespace pelmora {

// A child without a window of its own (the image view), painted by the panel onto its
// surface.
class WindowlessChild {
 public:
  virtual ~WindowlessChild() = default;
  // In the panel's client coordinates.
  virtual RECT Bounds() const = 0;
  virtual bool Visible() const = 0;
  // True when the child covers every pixel of its rectangle, so the panel need not paint
  // beneath it.
  virtual bool Opaque() const = 0;
  // Draws the child; the origin is at its top-left corner and the clip is its rectangle.
  virtual void Paint(HDC dc) = 0;
};

class TPanel {
 public:
  // A visible child of parent at bounds (parent client coordinates), drawn at
  // pixels_per_inch.
  TPanel(HWND parent, const RECT& bounds, int pixels_per_inch);
  ~TPanel();
  TPanel(const TPanel&) = delete;
  TPanel& operator=(const TPanel&) = delete;

  HWND Handle() const { return window_.Get(); }
  const std::string& Caption() const { return caption_; }
  // Repaints the caption when it changes.
  void SetCaption(const std::string& caption);
  // The font the caption is drawn in, made for the panel's scale.
  HFONT CaptionFont() const { return font_.Get(); }
  void SetPixelsPerInch(int pixels_per_inch);
  void SetBounds(const RECT& bounds);

  // Windowless children, painted in the order they were added.
  void AddWindowlessChild(WindowlessChild* child);
  void RemoveWindowlessChild(WindowlessChild* child);
  void InvalidateArea(const RECT& area);

  // One paint of the panel into dc, for the part of the client area in update.
  void PaintTo(HDC dc, const RECT& update);

  LRESULT HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void PaintBackground(HDC dc);

  std::string caption_ = strings::kNoDataCaption;
  win::UniqueFont font_;
  std::vector<WindowlessChild*> children_;
  win::UniqueWindow window_;
};

}  // namespace pelmora
