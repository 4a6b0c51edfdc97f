#include "app/win/clipboard_view.h"

#include "app/clipboard_fit.h"
#include "clipboard/picture_choice.h"
#include "clipboard/win/bitmap_handle.h"
#include "clipboard/win/clipboard.h"
#include "clipboard/win/clipboard_picture.h"
#include "clipboard/win/clipboard_text.h"
#include "picture/bitmap.h"
#include "picture/picture.h"
#include "richtext/win/rich_edit.h"
#include "view/image.h"
#include "view/win/dc_canvas.h"
#include "view/win/panel.h"
#include "view/win/work_progress.h"

namespace pelmora {
namespace {

// Reads the clipboard's picture into picture. The clipboard stays open from taking the
// handle until its bitmap is copied, so no other program can destroy the bitmap in between.
// Only the one shown is fetched: "PNG", else the DIB or bitmap its owner placed.
void ReadClipboardPicture(TClipboard& clipboard, TPicture& picture) {
  ClipboardOpening opening(clipboard);
  const ClipboardPicture shown = ChooseClipboardPicture(win::ClipboardFormatList(), PngClipboardFormat);
  if (shown == ClipboardPicture::Png || shown == ClipboardPicture::Dib ||
      shown == ClipboardPicture::DibV5) {
    TBitmap read;
    win::ReadPictureHandle(shown, clipboard.DataHandle(ClipboardFormatOf(shown, PngClipboardFormat)),
                           read);
    picture.Assign(&read);
    return;
  }
  ClipboardData data;
  if (HANDLE handle = clipboard.DataHandle(kCfBitmap)) {
    data.image = win::ImageFromBitmapHandle(static_cast<HBITMAP>(handle));
  }
  picture.LoadFromClipboardFormat(kCfBitmap, data);
}

SIZE ClientSize(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  return SIZE{client.right - client.left, client.bottom - client.top};
}

}  // namespace

// The image view as the panel sees it: a windowless child drawn onto the panel's surface.
class ImageViewChild final : public WindowlessChild {
 public:
  explicit ImageViewChild(TImage& image) : image_(image) {}
  RECT Bounds() const override {
    const TRect r = image_.BoundsRect();
    return RECT{r.left, r.top, r.right, r.bottom};
  }
  bool Visible() const override { return image_.Visible(); }
  bool Opaque() const override { return image_.Opaque(); }
  void Paint(HDC dc) override {
    win::DcCanvas canvas(dc);
    image_.Paint(canvas);
  }

 private:
  TImage& image_;
};

ClipboardView::ClipboardView(HWND window, int pixels_per_inch, ShownHandler on_shown,
                             ContextMenuHandler on_context_menu)
    : on_shown_(std::move(on_shown)) {
  RECT client;
  ::GetClientRect(window, &client);
  panel_ = std::make_unique<TPanel>(window, client, pixels_per_inch);

  // The image view starts hidden and draws proportionally.
  image_view_ = std::make_unique<TImage>();
  TPanel* panel = panel_.get();
  image_view_->SetOnInvalidate([panel](const TRect& r) {
    panel->InvalidateArea(RECT{r.left, r.top, r.right, r.bottom});
  });
  image_view_child_ = std::make_unique<ImageViewChild>(*image_view_);
  panel_->AddWindowlessChild(image_view_child_.get());

  // The text view: hidden, filling the panel, its undo list empty.
  const SIZE size = ClientSize(panel_->Handle());
  text_view_ = std::make_unique<TRichEdit>(panel_->Handle(), RECT{0, 0, size.cx, size.cy});
  text_view_->SetPixelsPerInch(pixels_per_inch);
  text_view_->SetOnContextMenu(std::move(on_context_menu));
  text_view_->Clear();
}

ClipboardView::~ClipboardView() {
  // The views go before the panel that holds them.
  text_view_.reset();
  panel_->RemoveWindowlessChild(image_view_child_.get());
}

bool ClipboardView::ClipboardChanged() const {
  return last_look_.IsBefore(::GetClipboardSequenceNumber());
}

void ClipboardView::Look() {
  // Noted before the look, so that a look that fails is not repeated by every paint, and a
  // change during the look is looked at again.
  last_look_.Note(::GetClipboardSequenceNumber());

  const win::WorkProgress progress(panel_->Handle());
  TClipboard& clipboard = Clipboard();
  const ClipboardKind kind = ClassifyClipboard(
      [&clipboard](std::uint16_t format) { return clipboard.FormatAvailable(format); },
      {PictureClipboardFormat, ComponentClipboardFormat, WithheldClipboardFormat,
       PngClipboardFormat});
  if (ShowsPicture(kind)) {
    ShowPicture(kind);
  } else if (ShowsText(kind)) {
    ShowText(kind);
  } else {
    // Nothing the view can show, or content it must not show: what it showed is no longer
    // on the clipboard, so it goes.
    Show(kind);
  }
}

void ClipboardView::Show(ClipboardKind kind) {
  const bool text = ShowsText(kind);
  const bool picture = ShowsPicture(kind);
  panel_->SetCaption(PanelCaptionFor(kind));
  if (!text) {
    text_view_->Clear();
    text_view_->SetVisible(false);
  }
  if (!picture) {
    image_view_->SetVisible(false);
    // The picture's memory is given back, not kept for a picture no longer there.
    image_view_->Picture().Assign(nullptr);
  }
  if (text) {
    text_view_->SetVisible(true);
    text_view_->Clear();
  }
  if (picture) {
    image_view_->SetVisible(true);
    PlacePicture();
  }
  kind_ = kind;
  if (on_shown_) on_shown_(kind);
}

void ClipboardView::ShowText(ClipboardKind kind) {
  // Taken first, in one format, so that a clipboard held by another program raises before
  // anything has changed.
  const ClipboardText text = TakeClipboardText(Clipboard());
  Show(kind);
  text_view_->Paste(text);
  text_view_->SetCaret(1);
}

void ClipboardView::ShowPicture(ClipboardKind kind) {
  try {
    ReadClipboardPicture(Clipboard(), image_view_->Picture());
  } catch (...) {
    // The clipboard holds a picture the view cannot read: the one it showed before is not
    // what the clipboard holds, so it goes, and the error says why.
    Show(ClipboardKind::Nothing);
    throw;
  }
  Show(kind);
}

void ClipboardView::PlacePicture() {
  const SIZE panel = ClientSize(panel_->Handle());
  const TPicture& picture = image_view_->Picture();
  const ClipboardFit fit = FitPictureToPanel(panel.cx, panel.cy, picture.Width(), picture.Height());
  // Unscaled, auto-size keeps the view at the picture's own size.
  image_view_->SetAutoSize(!fit.stretch);
  image_view_->SetStretch(fit.stretch);
  image_view_->SetBounds(fit.left, fit.top, fit.width, fit.height);
}

void ClipboardView::RestyleText(TColor color, int points, TFontStyles style) {
  text_view_->SetSelColor(color);
  text_view_->SetSelSize(points);
  text_view_->SetSelStyle(style);
  text_view_->SelectAll();
  const DWORD before = ::GetClipboardSequenceNumber();
  text_view_->Copy();
  // The view shows just what it copied: the notice of this change has nothing new to show,
  // and pasting it again would cost the user's place in the text.
  const DWORD after = ::GetClipboardSequenceNumber();
  if (after != before) last_look_.Note(after);
}

void ClipboardView::CopySelection() {
  if (!text_view_->Visible()) return;
  text_view_->Copy();
  Look();
}

void ClipboardView::SetBounds(const RECT& client) {
  panel_->SetBounds(client);
  text_view_->SetBounds(RECT{0, 0, client.right - client.left, client.bottom - client.top});
  // The held picture is placed anew; the clipboard is not read, so a resize never raises an
  // error box in the middle of the platform's sizing. The text view reflows by itself.
  if (image_view_->Visible()) PlacePicture();
}

void ClipboardView::SetPixelsPerInch(int pixels_per_inch) {
  panel_->SetPixelsPerInch(pixels_per_inch);
  text_view_->SetPixelsPerInch(pixels_per_inch);
}

bool ClipboardView::HandleNotify(const NMHDR& header, LRESULT& result) {
  return text_view_->HandleNotify(header, result);
}

}  // namespace pelmora
