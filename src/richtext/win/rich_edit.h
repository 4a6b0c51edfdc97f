#pragma once
// The main window's text view: a window of the platform's rich-edit control, version 4.1
// (a Unicode window), created on first use inside a parent window and configured for the
// clipboard viewer. The user's text is UTF-16 throughout: it comes from the clipboard and
// goes back to it as rich text and CF_UNICODETEXT, and files are read in their own encoding.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "base/font.h"
#include "base/stream.h"
#include "clipboard/win/clipboard_text.h"
#include "richtext/char_format.h"
#include "richtext/color.h"
#include "richtext/conversion.h"

namespace pelmora {

class TRichEdit {
 public:
  // The view's default font (its height in pixels at 96 pixels per inch) and background.
  static TFont DefaultFont();
  static constexpr TColor kDefaultColor = clWindow;
  // The view's text limit, set when its window is made: the largest the control takes.
  static constexpr LPARAM kTextLimit = 0x7FFFFFF0;

  // The window is made on first use, as a child of parent at bounds (parent coordinates).
  TRichEdit(HWND parent, const RECT& bounds);
  ~TRichEdit();
  TRichEdit(const TRichEdit&) = delete;
  TRichEdit& operator=(const TRichEdit&) = delete;

  // The control's window, or nullptr while it has not been made.
  HWND Handle() const { return handle_; }
  bool HandleAllocated() const { return handle_ != nullptr; }
  // Makes the window if it does not exist yet; raises EOSError when that fails.
  HWND HandleNeeded();

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  const RECT& Bounds() const { return bounds_; }
  void SetBounds(const RECT& bounds);

  const TFont& Font() const { return font_; }
  // Takes the font as the default format (sent at once when the window exists).
  void SetFont(const TFont& font);

  // The scale of the window the view lies in. The control turns points into pixels at the
  // session's scale; on a monitor of another scale its display is zoomed by the ratio, so
  // the text, its formatting and the selection stay as they are.
  void SetPixelsPerInch(int pixels_per_inch);

  // While it lives, the character at the top of the view is kept there: a new scale and
  // the resize that comes with it move the control's scroll offset, which it keeps in
  // pixels, to another line.
  class KeptTop {
   public:
    explicit KeptTop(TRichEdit& view);
    ~KeptTop();
    KeptTop(const KeptTop&) = delete;
    KeptTop& operator=(const KeptTop&) = delete;

   private:
    TRichEdit& view_;
    LRESULT character_ = 0;
    LONG y_ = 0;
  };

  // Called on a context-menu request with its screen point (-1, -1 from the keyboard),
  // after the view took the focus. Without it the request goes on to the control, which
  // passes it to the parent.
  void SetOnContextMenu(std::function<void(POINT)> handler) {
    on_context_menu_ = std::move(handler);
  }

  // Operations; each makes the window first, except the three selection attributes, which
  // are dropped while there is no window.
  // Empties the view and forgets its undo history, so nothing cleared can come back. A view
  // that held text gets a new window (keeping the focus): Handle() changes.
  void Clear();
  // Inserts the clipboard's text at the selection: its rich text with its formatting, else
  // its plain text in the format at the insertion point. Into an empty view the text comes
  // whole, without the rich text's closing paragraph mark as an extra empty line. Raises
  // "クリップボードを開くことができません" when another program holds the clipboard.
  void Paste();
  // The same with text already taken off the clipboard.
  void Paste(const ClipboardText& text);
  // Places the selection on the clipboard as rich text and CF_UNICODETEXT, exactly as
  // shown; an empty selection leaves the clipboard as it is.
  void Copy();
  // Copies the selection, then removes it.
  void Cut();
  void SelectAll();
  // The whole text as the view holds it, each paragraph ended by CR LF but the last.
  std::wstring Text();
  void SetCaret(std::int32_t position);
  void SetSelColor(TColor color);
  void SetSelSize(int points);
  void SetSelStyle(TFontStyles style);
  bool Modified();

  // The whole content as RTF into a new file, which replaces an existing one only when it
  // is complete; raises EFCreateError, EWriteError or EOutOfResources, and then the named
  // file is as it was.
  void SaveToFile(const FileName& file_name);
  // Replaces the content with a file's RTF or, failing that, its plain text; raises
  // EFOpenError, EReadError when the file cannot be read, or EOutOfResources.
  void LoadFromFile(const FileName& file_name);
  // The same through an open stream, written or read from its position on; raise
  // EOutOfResources, or the stream's own error when it could not be read.
  void SaveToStream(TStream& stream, TConversion& conversion);
  void LoadFromStream(TStream& stream, TConversion& conversion);

  // The control's notifications come to the parent as WM_NOTIFY; the parent hands each
  // one here. Returns true and sets result when it came from this view.
  bool HandleNotify(const NMHDR& header, LRESULT& result);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT CallControl(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Send(UINT message, WPARAM wparam = 0, LPARAM lparam = 0);

  void CreateHandle();
  // The user's Ctrl+C, Ctrl+X and Ctrl+V (and their Insert and Delete forms) go through
  // Copy, Cut and Paste; true when the key was one of them.
  bool HandleClipboardKey(WPARAM key);
  // The number of characters, the closing paragraph mark not counted.
  LONG TextLength();
  // The whole text as the control gives it for the EM_GETTEXTEX flags.
  std::wstring TextOf(DWORD flags);
  // The content (or with SFF_SELECTION the selection) in a stream format, as the control
  // writes it; RTF then carries every character exactly. Raises EOutOfResources when the
  // control reports an error.
  std::string StreamOut(WPARAM format);
  // Streams RTF in (with SFF_SELECTION into the selection, else replacing everything);
  // false when the control refused it.
  bool StreamIn(WPARAM format, std::string_view bytes);
  // Replaces everything (or the selection) by plain text, which may hold any character,
  // U+0000 included.
  bool StreamTextIn(std::u16string_view text, bool selection = false);
  void SendDefaultFormat();
  void ApplyZoom();
  void SendCharFormat(WPARAM target, const CharFormatChange& change);
  LRESULT OnPaint(WPARAM wparam, LPARAM lparam);
  LRESULT OnSetCursor(WPARAM wparam, LPARAM lparam);
  LRESULT OnContextMenu(WPARAM wparam, LPARAM lparam);
  LRESULT OnKeyDown(WPARAM wparam, LPARAM lparam);
  LRESULT OnChar(WPARAM wparam, LPARAM lparam);
  LRESULT OnDestroy(WPARAM wparam, LPARAM lparam);

  HWND parent_;
  HWND handle_ = nullptr;
  WNDPROC control_proc_ = nullptr;
  RECT bounds_;
  bool visible_ = false;
  bool modified_ = false;
  bool plain_text_ = false;
  TFont font_;
  TColor color_ = kDefaultColor;
  int pixels_per_inch_ = 0;  // 0: the session's
  std::function<void(POINT)> on_context_menu_;
};

}  // namespace pelmora
