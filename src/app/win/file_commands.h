#pragma once
// The context menu's file commands: save what the view shows, and load a file onto the
// clipboard. They own the dialogs they open, which keep their settings and last result
// from one use to the next.
#include "dialogs/win/file_dialog.h"
#include "dialogs/win/save_picture_dialog.h"

namespace pelmora {

class ClipboardView;

class FileCommands {
 public:
  explicit FileCommands(ClipboardView& view);
  FileCommands(const FileCommands&) = delete;
  FileCommands& operator=(const FileCommands&) = delete;

  // Saves the shown text as RTF or the shown picture in the format its extension names;
  // nothing is shown, nothing is saved.
  void SaveShown();
  // Loads a text or picture file onto the clipboard and shows it. A failed load changes
  // neither the clipboard nor the view, and says why.
  void LoadFile();

 private:
  void SaveText();
  void SavePicture();

  ClipboardView& view_;
  TSavePictureDialog save_picture_dialog_;
  TSaveDialog save_text_dialog_;
  TOpenDialog open_dialog_;
};

}  // namespace pelmora
