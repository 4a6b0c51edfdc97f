// The context menu's commands that act on the shown text and picture and on files.
#include "app/win/main_form.h"
#include "base/sjis.h"
#include "base/strings.h"
#include "clipboard/image.h"
#include "clipboard/win/bitmap_handle.h"
#include "clipboard/win/clipboard.h"
#include "dialogs/win/message_form.h"
#include "picture/bitmap.h"
#include "picture/jpeg_image.h"
#include "richtext/win/rich_edit.h"

namespace pelmora {

namespace {

// The shown file-name extension with its dot, a to z upper-cased, for comparing.
std::string UpperExtension(const std::string& file_name) {
  return UpperCaseAscii(ExtractFileExt(file_name));
}

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

}  // namespace

void TForm1::CreateDialogs() {
  SaveDialog1.SetDefaultExt("rft");
  SaveDialog1.SetFilter("保存ファイル  (*.rft)|*.rtf");
  SavePictureDialog1.SetDefaultExt("Jpg");
  SavePictureDialog1.SetFilter("JPEG イメージファイル (*.jpg)|*.jpg|ビットマップ (*.bmp)|*.bmp");
  OpenDialog1.SetFilter(
      "総て　(*.txt,*.rtf,*.jpg,*.bmp)|*.txt;*.rtf;*.jpg;*.bmp|テキスト　*.txt,*rft)|*.txt,*.rft|"
      "JPEG イメージファイル (*.jpg)||ビットマップ (*.bmp)");
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
  const std::string& file_name = SavePictureDialog1.FileName();
  const std::string extension = UpperExtension(file_name);
  if (extension == ".JPG") {
    // Failures here go to the default error display with their own message.
    TJPEGImage jpeg;
    jpeg.Assign(&image1_->Picture().Bitmap());
    jpeg.SaveToFile(file_name);
  } else if (extension == ".BMP") {
    try {
      image1_->Picture().SaveToFile(file_name);
    } catch (...) {
      ShowMessage(strings::kFileWriteError);
    }
  }
}

void TForm1::N3Click() {
  // Loading reports nothing: any failure leaves the window as it was, not refreshed.
  try {
    if (!OpenDialog1.Execute()) return;
    const std::string& file_name = OpenDialog1.FileName();
    const std::string extension = UpperExtension(file_name);
    TPicture& picture = image1_->Picture();
    if (extension == ".JPG") {
      TJPEGImage jpeg;
      jpeg.LoadFromFile(file_name);
      picture.Assign(&jpeg);
      PlacePictureOnClipboard(picture);
    } else if (extension == ".BMP") {
      picture.LoadFromFile(file_name);
      PlacePictureOnClipboard(picture);
    } else if (extension == ".TXT" || extension == ".RTF") {
      rich_edit1_->Clear();
      rich_edit1_->LoadFromFile(file_name);
      rich_edit1_->SelectAll();
      rich_edit1_->Copy();
    }
    Sub_Clip();
  } catch (...) {
  }
}

}  // namespace pelmora
