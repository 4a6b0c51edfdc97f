#pragma once
// The main window's content: the panel that fills its client area, the image view on the
// panel and the text view inside it. It looks at what the clipboard holds and shows it:
// text in the text view, a picture fitted to the panel, or the panel's caption.
#include <windows.h>

#include <functional>
#include <memory>

#include "app/clipboard_kind.h"
#include "app/last_look.h"
#include "base/color.h"
#include "base/font.h"

namespace pelmora {

class ImageViewChild;
class TImage;
class TPanel;
class TRichEdit;

class ClipboardView {
 public:
  // Told of each change of what the view shows.
  using ShownHandler = std::function<void(ClipboardKind kind)>;
  // Asked to open the context menu at a screen point, (-1, -1) from the keyboard.
  using ContextMenuHandler = std::function<void(POINT screen_point)>;

  // Fills window's client area, drawn at pixels_per_inch; shows nothing yet.
  ClipboardView(HWND window, int pixels_per_inch, ShownHandler on_shown,
                ContextMenuHandler on_context_menu);
  ~ClipboardView();
  ClipboardView(const ClipboardView&) = delete;
  ClipboardView& operator=(const ClipboardView&) = delete;

  ClipboardKind Kind() const { return kind_; }
  const TPanel& Panel() const { return *panel_; }
  TImage& ImageView() { return *image_view_; }
  const TImage& ImageView() const { return *image_view_; }
  TRichEdit& TextView() { return *text_view_; }

  // Looks at the clipboard and shows what it holds. A clipboard held by another program
  // raises before anything has changed; a picture the view cannot read empties the view,
  // then raises.
  void Look();
  // Whether the clipboard has changed since the last look began.
  bool ClipboardChanged() const;
  // The view shows what the clipboard holds in this state (it copied it there itself).
  void NoteShown(DWORD clipboard_sequence) { last_look_.Note(clipboard_sequence); }

  // Restyles the whole text and puts it back on the clipboard; the view keeps the user's
  // place, since it shows what it copied.
  void RestyleText(TColor color, int points, TFontStyles style);
  // Copies the text view's selection to the clipboard and shows what the clipboard then
  // holds. Nothing happens while no text is shown.
  void CopySelection();

  // Follows the window's client area and scale.
  void SetBounds(const RECT& client);
  void SetPixelsPerInch(int pixels_per_inch);
  // The text view's notifications, from the window's WM_NOTIFY.
  bool HandleNotify(const NMHDR& header, LRESULT& result);

 private:
  // The one switch of views: the panel's caption, the view that does not show the kind
  // emptied and hidden, the one that does shown.
  void Show(ClipboardKind kind);
  void ShowText(ClipboardKind kind);
  void ShowPicture(ClipboardKind kind);
  // Places the held picture on the panel: at its own size, or scaled to fit.
  void PlacePicture();

  ShownHandler on_shown_;
  ClipboardKind kind_ = ClipboardKind::Nothing;
  LastLook last_look_;
  // The panel goes before the views inside it, so they are destroyed first.
  std::unique_ptr<TPanel> panel_;
  std::unique_ptr<TImage> image_view_;
  std::unique_ptr<ImageViewChild> image_view_child_;
  std::unique_ptr<TRichEdit> text_view_;
};

}  // namespace pelmora
