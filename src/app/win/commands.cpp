// The context menu's commands that act on the shown text and picture and on files.
#include <memory>

#include "app/file_types.h"
#include "app/win/main_form.h"
#include "base/errors.h"
#include "base/format.h"
#include "base/file_name.h"
#include "base/win/error_display.h"
#include "base/win/text.h"
#include "base/strings.h"
#include "clipboard/image.h"
#include "clipboard/win/bitmap_handle.h"
#include "clipboard/win/clipboard.h"
#include "clipboard/win/clipboard_picture.h"
#include "dialogs/win/message_form.h"
#include "picture/bitmap.h"
#include "picture/jpeg_image.h"
#include "picture/png_image.h"
#include "richtext/conversion.h"
#include "richtext/win/rich_edit.h"

namespace pelmora {

namespace {

// Places a picture on the clipboard as a bitmap (a JPEG image gives its decoded bitmap);
// its palette is not placed. An empty picture places nothing.
void PlacePictureOnClipboard(const TPicture& picture) {
  std::uint16_t format = 0;
  ClipboardData data;
  picture.SaveToClipboardFormat(format, data);
  if (!data.image) return;
  win::UniqueBitmap handle = win::BitmapHandleFromImage(*data.image);
  // The bitmap passes to the system only once it is placed; otherwise it is deleted here.
  if (Clipboard().PlaceHandle(format, handle.Get())) handle.Release();
}

// The text view's content as RTF, to put back after a load into it failed.
std::unique_ptr<TMemoryStream> KeepText(TRichEdit& view) {
  auto kept = std::make_unique<TMemoryStream>();
  TConversion pass_through;
  view.SaveToStream(*kept, pass_through);
  return kept;
}

void PutTextBack(TRichEdit& view, TMemoryStream& kept) noexcept {
  try {
    TConversion pass_through;
    kept.SetPosition(0);
    view.LoadFromStream(kept, pass_through);
  } catch (...) {
    // The view then shows what the failed load left; the clipboard is unchanged.
  }
}

}  // namespace

void TForm1::CreateDialogs() {
  SaveDialog1.SetDefaultExt("rtf");
  SaveDialog1.SetFilter("保存ファイル  (*.rtf)|*.rtf");
  SavePictureDialog1.SetDefaultExt("Jpg");
  SavePictureDialog1.SetFilter(PictureSaveFilter());
  OpenDialog1.SetFilter(OpenFilter());
}

void TForm1::N5Click() {
  if (!FontDialog1.Execute()) return;
  rich_edit1_->SetSelColor(FontDialog1.Font().color);
  rich_edit1_->SetSelSize(FontDialog1.FontSize());
  rich_edit1_->SetSelStyle(FontDialog1.Font().style);
  rich_edit1_->SelectAll();
  const DWORD before = ::GetClipboardSequenceNumber();
  rich_edit1_->Copy();
  // The view shows just what it copied: the notice of this change has nothing new to show,
  // and pasting it again would cost the user's place in the text.
  const DWORD after = ::GetClipboardSequenceNumber();
  if (after != before) inspection_guard_.Seen(after);
}

void TForm1::N8Click() { Sub_Clip(); }

void TForm1::N10Click() {
  if (!rich_edit1_->Visible()) return;
  rich_edit1_->Copy();
  Sub_Clip();
}

void TForm1::SaveAs1Click() {
  if (rich_edit1_->Visible()) {
    if (!SaveDialog1.Execute()) return;
    try {
      rich_edit1_->SaveToFile(SaveDialog1.FileName());
    } catch (...) {
      ShowMessage(strings::kFileWriteError);
    }
    return;
  }
  if (!image1_->Visible()) return;
  if (!SavePictureDialog1.Execute()) return;
  FileName file_name = SavePictureDialog1.FileName();
  FileName extension = ExtractFileExt(file_name);
  if (extension.empty()) {
    // A name without an extension takes that of the file type chosen in the dialog.
    extension = FileName(win::WideFromSjis(
        FilterTypeExtension(SavePictureDialog1.Filter(), SavePictureDialog1.FilterIndex())));
    file_name += extension.native();
  }
  switch (PictureSaveFormat(extension)) {
    case PictureFileFormat::Jpeg: {
      // Failures here go to the default error display with their own message.
      TJPEGImage jpeg;
      jpeg.Assign(&image1_->Picture().Bitmap());
      jpeg.SaveToFile(file_name);
      break;
    }
    case PictureFileFormat::Png: {
      // Lossless, with its transparency; failures go to the default error display.
      TPngImage png;
      png.Assign(&image1_->Picture().Bitmap());
      png.SaveToFile(file_name);
      break;
    }
    case PictureFileFormat::Bitmap:
      try {
        image1_->Picture().SaveToFile(file_name);
      } catch (...) {
        ShowMessage(strings::kFileWriteError);
      }
      break;
    case PictureFileFormat::None:
    {
      const FileName shown = ExtractPictureExtension(file_name);
      win::ShowError(EInvalidGraphic(strings::kUnknownExtension, {shown}));
      break;
    }
  }
}

void TForm1::N3Click() {
  if (!OpenDialog1.Execute()) return;
  const FileName& file_name = OpenDialog1.FileName();
  // A failed load changes neither the clipboard nor the view, and says why. A picture
  // reaches the view only through the clipboard; text goes through the text view, whose
  // content is kept to be put back.
  std::unique_ptr<TMemoryStream> text_before;
  try {
    switch (const LoadedFileKind kind = LoadedFileKindOf(ExtractFileExt(file_name))) {
      case LoadedFileKind::Jpeg:
      case LoadedFileKind::Bitmap: {
        TPicture loaded;
        if (kind == LoadedFileKind::Jpeg) {
          TJPEGImage jpeg;
          jpeg.LoadFromFile(file_name);
          loaded.Assign(&jpeg);
        } else {
          // Read as a bitmap, the kind its file type names.
          TBitmap bitmap;
          bitmap.LoadFromFile(file_name);
          loaded.Assign(&bitmap);
        }
        PlacePictureOnClipboard(loaded);
        break;
      }
      case LoadedFileKind::Png: {
        // Decoded whole before anything is placed: a damaged file changes nothing. Other
        // programs paste it as "PNG" or as a V5 bitmap, with its transparency.
        TPngImage png;
        png.LoadFromFile(file_name);
        win::PlacePng(Clipboard(), png);
        break;
      }
      case LoadedFileKind::Text:
        text_before = KeepText(*rich_edit1_);
        rich_edit1_->Clear();
        rich_edit1_->LoadFromFile(file_name);
        rich_edit1_->SelectAll();
        rich_edit1_->Copy();
        text_before.reset();  // the clipboard holds the loaded text now
        break;
      case LoadedFileKind::None: {
        // Nothing is loaded, and the user is told why rather than left guessing.
        const FileName shown = ExtractPictureExtension(file_name);
        throw EInvalidGraphic(strings::kUnknownExtension, {shown});
      }
    }
    Sub_Clip();
  } catch (...) {
    if (text_before) PutTextBack(*rich_edit1_, *text_before);
    win::ShowCurrentException();
  }
}

}  // namespace pelmora
