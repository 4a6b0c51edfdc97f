#pragma once
// A panel of the picture preview: a child window with optional bevels (outer lowered,
// inner raised), a border width inside them, a centred caption, and a picture drawn over
// the inner area stretched into it with its proportions kept and centred. Painted through
// an off-screen surface, so resizing does not flicker.
#include <windows.h>

#include <functional>
#include <string>

#include "base/win/handles.h"

namespace pelmora {

class TPicture;

class TPreviewPanel {
 public:
  struct Look {
    int border_width = 0;
    bool bevels = false;        // outer lowered, inner raised, one pixel each
    bool single_border = false;  // a one-pixel frame outside the client area
    int background = COLOR_BTNFACE;  // system colour index
  };

  // A visible child of parent at bounds (parent client coordinates) with the control id;
  // captions are drawn in font (not owned; the system font when null).
  TPreviewPanel(HWND parent, const RECT& bounds, int id, const Look& look, HFONT font);
  ~TPreviewPanel();
  TPreviewPanel(const TPreviewPanel&) = delete;
  TPreviewPanel& operator=(const TPreviewPanel&) = delete;

  HWND Handle() const { return window_.Get(); }
  // Shift-JIS; also the window's text.
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  void SetBounds(const RECT& bounds);
  void SetBorderWidth(int border_width);
  void SetFont(HFONT font);
  // The client area inside the bevels and the border width.
  RECT InnerRect() const;

  // The picture drawn over the inner area (not owned; null for none).
  void SetPicture(const TPicture* picture);
  void SetOnDoubleClick(std::function<void()> handler) { on_double_click_ = std::move(handler); }
  // Called when the picture could not be drawn.
  void SetOnDrawFailure(std::function<void()> handler) { on_draw_failure_ = std::move(handler); }
  // WM_COMMAND from child controls: (control id, notification code).
  void SetOnCommand(std::function<void(int, int)> handler) { on_command_ = std::move(handler); }

  LRESULT HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void Paint(HDC dc, const RECT& client);
  void DrawPicture(HDC dc);

  // The panel's messages.
  LRESULT OnPaint();
  LRESULT OnDoubleClick(POINT at);
  LRESULT OnCommand(int id, int code, bool from_control);

  Look look_;
  HFONT font_;
  std::string caption_;
  const TPicture* picture_ = nullptr;
  std::function<void()> on_double_click_;
  std::function<void()> on_draw_failure_;
  std::function<void(int, int)> on_command_;
  win::UniqueWindow window_;
};

}  // namespace pelmora
