#pragma once
// The one process-wide gate to the Windows clipboard: tests formats, takes a data handle
// off it and places one on it, opening and closing the clipboard around each piece of work.
// Openings nest; only the outermost opens and closes the system clipboard. GUI thread only.
#include <windows.h>

#include <cstdint>

#include "base/win/handles.h"

namespace pelmora {

class TClipboard {
 public:
  // Opens (nested). Raises Exception "クリップボードを開くことができません" when another
  // program holds the clipboard, leaving the count where it was.
  void Open();
  // Closes one level; at 0 nothing happens.
  void Close();

  // True when the format is there (formats the system converts to count). The registered
  // picture format is also true when any format on the clipboard can make a picture.
  bool FormatAvailable(std::uint16_t format);
  // The clipboard's data handle for the format, or 0. The handle stays the clipboard's.
  HANDLE DataHandle(std::uint16_t format);
  // Places a handle, which passes to the system. The first placement of an opening empties
  // the clipboard; later ones in the same opening add formats. Returns whether the system
  // took the handle; when it did not (or the opening failed), the caller still owns it.
  bool PlaceHandle(std::uint16_t format, HANDLE handle);

 private:
  friend TClipboard& Clipboard();
  TClipboard() = default;
  void EmptyBeforePlacing();

  int open_count_ = 0;
  HWND owner_ = nullptr;
  // The hidden window made for an opening when the application has none.
  win::UniqueWindow private_window_;
  bool emptied_ = false;
};

// The process-wide clipboard object, created on the first call.
TClipboard& Clipboard();

// The window that owns the clipboard while it is open, for the life of the object: the
// application's own window (the program's start-up makes one). Without one, each opening
// makes a hidden utility window of its own.
class ClipboardOwnerWindow {
 public:
  explicit ClipboardOwnerWindow(HWND window);
  ~ClipboardOwnerWindow();
  ClipboardOwnerWindow(const ClipboardOwnerWindow&) = delete;
  ClipboardOwnerWindow& operator=(const ClipboardOwnerWindow&) = delete;

 private:
  HWND previous_;
};

// Opens the clipboard for a scope and closes it at the scope's end, on every path.
class ClipboardOpening {
 public:
  explicit ClipboardOpening(TClipboard& clipboard) : clipboard_(clipboard) { clipboard_.Open(); }
  ~ClipboardOpening() { clipboard_.Close(); }
  ClipboardOpening(const ClipboardOpening&) = delete;
  ClipboardOpening& operator=(const ClipboardOpening&) = delete;

 private:
  TClipboard& clipboard_;
};

// The formats registered by name at start-up, before the main window exists: the picture
// and component formats, and the one by which a program marks what it places as not to be
// read or shown by clipboard monitors and viewers (a password manager does); and "PNG", in
// which browsers and image programs place pictures with their transparency.
extern std::uint16_t PictureClipboardFormat;
extern std::uint16_t ComponentClipboardFormat;
extern std::uint16_t WithheldClipboardFormat;
extern std::uint16_t PngClipboardFormat;
void RegisterClipboardFormats();

}  // namespace pelmora
