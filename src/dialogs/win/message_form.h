#pragma once
// The short message box: one text, an "OK" button, the application title as caption.
// Ctrl+C while it is up puts its text on the clipboard.
#include <windows.h>

#include <string>

#include "base/win/handles.h"

namespace pelmora {

class TMessageForm {
 public:
  // Control ids: the message label and the button (IDOK).
  static constexpr int kMessageId = 100;

  // Builds the hidden box for message (Shift-JIS) with caption (Shift-JIS), owned by the
  // dialogs' owner, on the monitor of the form the user works in (win::PlacementForm).
  TMessageForm(std::string message, std::string caption);
  ~TMessageForm();
  TMessageForm(const TMessageForm&) = delete;
  TMessageForm& operator=(const TMessageForm&) = delete;

  HWND Handle() const { return window_.Get(); }
  // Shows the box centred on its monitor and returns when it is closed; the program's other
  // windows are disabled meanwhile, and the active window and focus restored afterwards.
  void ShowModal();

  // What Ctrl+C places: the dash-framed caption, message and button caption.
  std::string ClipboardText() const;
  // Beeps, then replaces the clipboard's content with ClipboardText() as CF_TEXT and as
  // CF_UNICODETEXT. Raises
  // Exception "クリップボードを開くことができません" when the clipboard is held elsewhere.
  void CopyToClipboard() const;

  LRESULT HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void Build();
  // Font, label, button and window size for pixels_per_inch, the text wrapped at half the
  // width of the box's monitor.
  void LayOut(int pixels_per_inch);

  // The box's messages.
  LRESULT OnCommand(int id);
  LRESULT OnClose();
  // The box came to a monitor of another scale.
  LRESULT OnDpiChanged(int pixels_per_inch, const RECT& suggested);
  bool IsCopyKey(const MSG& message) const;

  std::string message_;
  std::string caption_;
  win::UniqueFont font_;
  win::UniqueWindow window_;
  bool closed_ = false;
};

// Shows message in the short message box with the application title as caption.
void ShowMessage(const std::string& message);

}  // namespace pelmora
