#include "app/win/file_commands.h"

#include <memory>
#include <optional>

#include "app/file_types.h"
#include "app/win/clipboard_view.h"
#include "base/errors.h"
#include "base/file_name.h"
#include "base/format.h"
#include "base/strings.h"
#include "base/win/error_display.h"
#include "base/win/text.h"
#include "clipboard/win/bitmap_handle.h"
#include "clipboard/win/clipboard.h"
#include "clipboard/win/clipboard_picture.h"
#include "dialogs/win/message_form.h"
#include "picture/bitmap.h"
#include "picture/jpeg_image.h"
#include "picture/png_image.h"
#include "richtext/conversion.h"
#include "richtext/win/rich_edit.h"
#include "view/image.h"
#include "view/win/panel.h"
#include "view/win/work_progress.h"

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

// Loads a picture file onto the clipboard: a JPEG or bitmap as a bitmap, a PNG as "PNG"
// and a V5 bitmap, so other programs paste it with its transparency. Decoded whole before
// anything is placed: a damaged file changes nothing.
void PlacePictureFile(LoadedFileKind kind, const FileName& file_name) {
  if (kind == LoadedFileKind::Png) {
    TPngImage png;
    png.LoadFromFile(file_name);
    win::PlacePng(Clipboard(), png);
    return;
  }
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
}

// The error for a file whose extension names no format the command handles.
EInvalidGraphic UnknownExtension(const FileName& file_name) {
  const FileName extension = ExtractPictureExtension(file_name);
  return EInvalidGraphic(strings::kUnknownExtension, {extension});
}

}  // namespace

FileCommands::FileCommands(ClipboardView& view) : view_(view) {
  save_text_dialog_.SetDefaultExt("rtf");
  save_text_dialog_.SetFilter("保存ファイル  (*.rtf)|*.rtf");
  save_picture_dialog_.SetDefaultExt("Jpg");
  save_picture_dialog_.SetFilter(PictureSaveFilter());
  open_dialog_.SetFilter(OpenFilter());
}

void FileCommands::SaveShown() {
  if (ShowsText(view_.Kind())) {
    SaveText();
  } else if (ShowsPicture(view_.Kind())) {
    SavePicture();
  }
}

void FileCommands::SaveText() {
  if (!save_text_dialog_.Execute()) return;
  try {
    const win::WorkProgress progress(view_.Panel().Handle());
    view_.TextView().SaveToFile(save_text_dialog_.FileName());
  } catch (...) {
    ShowMessage(strings::kFileWriteError);
  }
}

void FileCommands::SavePicture() {
  if (!save_picture_dialog_.Execute()) return;
  FileName file_name = save_picture_dialog_.FileName();
  FileName extension = ExtractFileExt(file_name);
  if (extension.empty()) {
    // A name without an extension takes that of the file type chosen in the dialog.
    extension = FileName(win::WideFromSjis(
        FilterTypeExtension(save_picture_dialog_.Filter(), save_picture_dialog_.FilterIndex())));
    file_name += extension.native();
  }
  TPicture& picture = view_.ImageView().Picture();
  std::optional<win::WorkProgress> progress(std::in_place, view_.Panel().Handle());
  switch (PictureSaveFormat(extension)) {
    case PictureFileFormat::Jpeg: {
      // Failures here go to the default error display with their own message.
      TJPEGImage jpeg;
      jpeg.Assign(&picture.Bitmap());
      jpeg.SaveToFile(file_name);
      break;
    }
    case PictureFileFormat::Png: {
      // Lossless, with its transparency; failures go to the default error display.
      TPngImage png;
      png.Assign(&picture.Bitmap());
      png.SaveToFile(file_name);
      break;
    }
    case PictureFileFormat::Bitmap:
      try {
        picture.SaveToFile(file_name);
      } catch (...) {
        progress.reset();
        ShowMessage(strings::kFileWriteError);
      }
      break;
    case PictureFileFormat::None:
      throw UnknownExtension(file_name);
  }
}

void FileCommands::LoadFile() {
  if (!open_dialog_.Execute()) return;
  const FileName& file_name = open_dialog_.FileName();
  // A picture reaches the view only through the clipboard; text goes through the text
  // view, whose content is kept to be put back.
  TRichEdit& text_view = view_.TextView();
  std::unique_ptr<TMemoryStream> text_before;
  try {
    const win::WorkProgress progress(view_.Panel().Handle());
    switch (const LoadedFileKind kind = LoadedFileKindOf(ExtractFileExt(file_name))) {
      case LoadedFileKind::Jpeg:
      case LoadedFileKind::Bitmap:
      case LoadedFileKind::Png:
        PlacePictureFile(kind, file_name);
        break;
      case LoadedFileKind::Text:
        text_before = KeepText(text_view);
        text_view.Clear();
        text_view.LoadFromFile(file_name);
        text_view.SelectAll();
        text_view.Copy();
        text_before.reset();  // the clipboard holds the loaded text now
        break;
      case LoadedFileKind::None:
        // Nothing is loaded, and the user is told why rather than left guessing.
        throw UnknownExtension(file_name);
    }
    view_.Look();
  } catch (...) {
    if (text_before) PutTextBack(text_view, *text_before);
    win::ShowCurrentException();
  }
}

}  // namespace pelmora
