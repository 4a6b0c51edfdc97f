#pragma once
// The platform's font dialog over a font the object keeps from one run to the next.
#include <windows.h>
#include <commdlg.h>

#include <cstdint>

#include "dialogs/font_choice.h"
#include "dialogs/win/dialog_host.h"

namespace pelmora {

class TFontDialog {
 public:
  TFontDialog();
  TFontDialog(const TFontDialog&) = delete;
  TFontDialog& operator=(const TFontDialog&) = delete;

  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  // The font's size in points at the session's scale, the one the platform's dialog turns
  // points into pixels by.
  std::int32_t FontSize() const;

  // Runs the dialog modally over the font; true on confirm, with the font updated; false
  // on cancel or close, with the font unchanged.
  bool Execute();

 private:
  friend UINT_PTR CALLBACK win::DialogHookProc<TFontDialog>(HWND, UINT, WPARAM, LPARAM);
  UINT_PTR HookMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  // Places the dialog; TRUE lets the platform give the focus to its first control.
  UINT_PTR OnInitDialog(HWND window);
  // A selection change in the colour or script list marks that value as chosen.
  UINT_PTR OnCommand(int id, int code);

  TFont font_;
  HWND placement_form_ = nullptr;
  bool color_chosen_ = false;
  bool charset_chosen_ = false;
};

}  // namespace pelmora
