// The main window's clipboard view: looks at what the clipboard holds, adjusts the menu and
// shows the clipboard's text or bitmap, fitted to the panel. The window follows the
// clipboard: it looks again when the clipboard tells it of a change, and on a paint or an
// activation that finds the clipboard changed; most commands look unconditionally.
#include "app/clipboard_fit.h"
#include "app/clipboard_kind.h"
#include "app/win/main_form.h"
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
namespace {

void ShowMenuState(TForm1& form, const ClipboardMenuState& state) {
  form.N5->SetVisible(state.edit_text);
  form.N1->SetVisible(state.edit_separator);
  form.N10->SetVisible(state.copy);
  form.N9->SetVisible(state.save_separator);
  form.SaveAs1->SetVisible(state.save_as);
}

}  // namespace

SIZE TForm1::PanelSize() const {
  RECT client{};
  ::GetClientRect(panel1_->Handle(), &client);
  return SIZE{client.right - client.left, client.bottom - client.top};
}

void TForm1::FollowClipboard() {
  HWND window = window_.Get();
  // A minimised window waits until it is shown again, and a window disabled by a dialog or
  // box of the program until that is closed: a command in its dialog keeps the view it
  // started from.
  if (window == nullptr || ::IsIconic(window) || !::IsWindowVisible(window) ||
      !::IsWindowEnabled(window)) {
    return;
  }
  if (!inspection_guard_.ShouldInspect(::GetClipboardSequenceNumber())) return;
  Sub_Clip();
}

void TForm1::FormPaint() { FollowClipboard(); }

void TForm1::FormResize() {
  // The held picture is placed anew; the clipboard is not read, so a resize never raises an
  // error box in the middle of the platform's sizing. The text view reflows by itself.
  if (image1_->Visible()) {
    const TPicture& picture = image1_->Picture();
    FitImage1ToPanel(picture.Width(), picture.Height());
  }
}

void TForm1::Sub_Clip() {
  // Noted before the look, so that a look that fails is not repeated by every paint, and a
  // change during the look is looked at again.
  inspection_guard_.Seen(::GetClipboardSequenceNumber());

  // A clipboard held by another program raises here, before anything has changed: that is
  // no change of content, so the view keeps what it shows.
  TClipboard& clipboard = Clipboard();
  ClipboardKind = ClassifyClipboard(
      [&clipboard](std::uint16_t format) { return clipboard.FormatAvailable(format); },
      {PictureClipboardFormat, ComponentClipboardFormat, WithheldClipboardFormat,
       PngClipboardFormat});

  if (ShowsBitmap(ClipboardKind)) {
    Clip_Copy();
  } else if (ShowsText(ClipboardKind)) {
    Clip_Copy_Moji();
    rich_edit1_->SetCaret(1);
  } else {
    // Nothing the view can show, or content it must not show: what it showed is no longer
    // on the clipboard, so it goes.
    ShowNothing(ClipboardKind);
  }
}

void TForm1::ShowNothing(const std::string& kind) {
  rich_edit1_->Clear();
  rich_edit1_->SetVisible(false);
  image1_->SetVisible(false);
  // The picture's memory is given back, not kept for a picture no longer there.
  image1_->Picture().Assign(nullptr);
  panel1_->SetCaption(PanelCaptionFor(kind));
  ShowMenuState(*this, MenuStateFor(kind));
}

void TForm1::Clip_Copy_Moji() {
  // Taken first, in one format, so that a clipboard held by another program raises before
  // anything has changed.
  const ClipboardText text = TakeClipboardText(Clipboard());
  image1_->SetVisible(false);
  image1_->Picture().Assign(nullptr);
  panel1_->SetCaption(PanelCaptionFor(ClipboardKind));
  ShowMenuState(*this, MenuStateFor(ClipboardKind));
  rich_edit1_->SetVisible(true);
  rich_edit1_->Clear();
  rich_edit1_->Paste(text);
  rich_edit1_->SetCaret(1);
}

void TForm1::Clip_Copy() {
  TPicture& picture = image1_->Picture();
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
      ShowNothing("");
      throw;
    }
  }

  rich_edit1_->Clear();
  rich_edit1_->SetVisible(false);
  panel1_->SetCaption(PanelCaptionFor(ClipboardKind));
  ShowMenuState(*this, MenuStateFor(ClipboardKind));
  image1_->SetVisible(true);
  image1_->SetAutoSize(true);
  image1_->SetStretch(false);
  FitImage1ToPanel(image1_->Width(), image1_->Height());
}

void TForm1::FitImage1ToPanel(int w, int h) {
  const SIZE panel = PanelSize();
  const ClipboardFit fit = FitPictureToPanel(panel.cx, panel.cy, w, h);
  // Unscaled, auto-size keeps the view at the picture's own size.
  image1_->SetAutoSize(!fit.stretch);
  image1_->SetStretch(fit.stretch);
  image1_->SetBounds(fit.left, fit.top, fit.width, fit.height);
}

}  // namespace pelmora
