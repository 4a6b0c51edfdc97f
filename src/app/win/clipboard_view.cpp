// The main window's clipboard view: looks at what the clipboard holds, adjusts the menu and
// shows the clipboard's text or bitmap, fitted to the panel. The window follows the
// clipboard: it looks again when the clipboard tells it of a change, and on a paint or an
// activation that finds the clipboard changed; most commands look unconditionally.
#include "app/clipboard_fit.h"
#include "app/clipboard_kind.h"
#include "app/win/main_window.h"
#include "app/win/panel.h"
#include "clipboard/image.h"
#include "clipboard/win/bitmap_handle.h"
#include "clipboard/picture_form.h"
#include "clipboard/win/clipboard.h"
#include "clipboard/win/clipboard_picture.h"
#include "clipboard/win/clipboard_text.h"
#include "picture/bitmap.h"
#include "picture/picture.h"
#include "richtext/win/rich_edit.h"

namespace pelmora {

void MainWindow::ShowMenuFor(ClipboardKind kind) {
  const ClipboardMenuState state = MenuStateFor(kind);
  items_.restyle_text->SetVisible(state.restyle);
  items_.restyle_separator->SetVisible(state.restyle_separator);
  items_.copy_selection->SetVisible(state.copy);
  items_.save_separator->SetVisible(state.save_separator);
  items_.save_shown->SetVisible(state.save);
}

SIZE MainWindow::PanelSize() const {
  RECT client{};
  ::GetClientRect(panel_->Handle(), &client);
  return SIZE{client.right - client.left, client.bottom - client.top};
}

void MainWindow::FollowClipboard() {
  HWND window = window_.Get();
  // A minimised window waits until it is shown again, and a window disabled by a dialog or
  // box of the program until that is closed: a command in its dialog keeps the view it
  // started from.
  if (window == nullptr || ::IsIconic(window) || !::IsWindowVisible(window) ||
      !::IsWindowEnabled(window)) {
    return;
  }
  if (!inspection_guard_.ShouldInspect(::GetClipboardSequenceNumber())) return;
  ShowClipboard();
}

void MainWindow::ShowClipboard() {
  // Noted before the look, so that a look that fails is not repeated by every paint, and a
  // change during the look is looked at again.
  inspection_guard_.Seen(::GetClipboardSequenceNumber());

  // A clipboard held by another program raises here, before anything has changed: that is
  // no change of content, so the view keeps what it shows.
  TClipboard& clipboard = Clipboard();
  shown_kind_ = ClassifyClipboard(
      [&clipboard](std::uint16_t format) { return clipboard.FormatAvailable(format); },
      {PictureClipboardFormat, ComponentClipboardFormat, WithheldClipboardFormat,
       PngClipboardFormat});

  if (ShowsPicture(shown_kind_)) {
    ShowClipboardPicture();
  } else if (ShowsText(shown_kind_)) {
    ShowClipboardText();
    text_view_->SetCaret(1);
  } else {
    // Nothing the view can show, or content it must not show: what it showed is no longer
    // on the clipboard, so it goes.
    ShowNothing(shown_kind_);
  }
}

void MainWindow::ShowNothing(ClipboardKind kind) {
  text_view_->Clear();
  text_view_->SetVisible(false);
  image_view_->SetVisible(false);
  // The picture's memory is given back, not kept for a picture no longer there.
  image_view_->Picture().Assign(nullptr);
  panel_->SetCaption(PanelCaptionFor(kind));
  ShowMenuFor(kind);
}

void MainWindow::ShowClipboardText() {
  // Taken first, in one format, so that a clipboard held by another program raises before
  // anything has changed.
  const ClipboardText text = TakeClipboardText(Clipboard());
  image_view_->SetVisible(false);
  image_view_->Picture().Assign(nullptr);
  panel_->SetCaption(PanelCaptionFor(shown_kind_));
  ShowMenuFor(shown_kind_);
  text_view_->SetVisible(true);
  text_view_->Clear();
  text_view_->Paste(text);
  text_view_->SetCaret(1);
}

void MainWindow::ShowClipboardPicture() {
  TPicture& picture = image_view_->Picture();
  {
    // The clipboard stays open from taking the handle until its bitmap is copied, so no
    // other program can destroy the bitmap in between. A clipboard held elsewhere raises
    // before anything has changed.
    TClipboard& clipboard = Clipboard();
    ClipboardOpening opening(clipboard);
    try {
      // Only the form shown is fetched: "PNG", else the DIB or bitmap its owner placed.
      const PictureForm form = ChoosePictureForm(win::ClipboardFormatList(), PngClipboardFormat);
      if (form == PictureForm::Png || form == PictureForm::Dib || form == PictureForm::DibV5) {
        TBitmap read;
        win::ReadPictureHandle(form, clipboard.TakeHandle(ClipboardFormatOf(form, PngClipboardFormat)),
                               read);
        picture.Assign(&read);
      } else {
        ClipboardData data;
        if (HANDLE handle = clipboard.TakeHandle(kCfBitmap)) {
          data.image = win::ImageFromBitmapHandle(static_cast<HBITMAP>(handle));
        }
        picture.LoadFromClipboardFormat(kCfBitmap, data);
      }
    } catch (...) {
      // The clipboard holds a picture the view cannot read: the one it showed before is
      // not what the clipboard holds, so it goes, and the error says why.
      ShowNothing(ClipboardKind::Nothing);
      throw;
    }
  }

  text_view_->Clear();
  text_view_->SetVisible(false);
  panel_->SetCaption(PanelCaptionFor(shown_kind_));
  ShowMenuFor(shown_kind_);
  image_view_->SetVisible(true);
  image_view_->SetAutoSize(true);
  image_view_->SetStretch(false);
  PlacePicture(image_view_->Width(), image_view_->Height());
}

void MainWindow::PlacePicture(int w, int h) {
  const SIZE panel = PanelSize();
  const ClipboardFit fit = FitPictureToPanel(panel.cx, panel.cy, w, h);
  // Unscaled, auto-size keeps the view at the picture's own size.
  image_view_->SetAutoSize(!fit.stretch);
  image_view_->SetStretch(fit.stretch);
  image_view_->SetBounds(fit.left, fit.top, fit.width, fit.height);
}

}  // namespace pelmora
