#pragma once
// The platform's font dialog over a font the object keeps from one run to the next.
#include <windows.h>
#include <commdlg.h>

#include <cstdint>

#include "dialogs/font_choice.h"

namespace pelmora {

class TFontDialog {
 public:
  TFontDialog() = default;
  TFontDialog(const TFontDialog&) = delete;
  TFontDialog& operator=(const TFontDialog&) = delete;

  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  // The font's size in points on this screen.
  std::int32_t FontSize() const;
  // Both 0: no size limits are passed.
  int MinFontSize() const { return 0; }
  int MaxFontSize() const { return 0; }

  // Runs the dialog modally over the font; true on confirm, with the font updated; false
  // on cancel or close, with the font unchanged.
  bool Execute();

  // The record size the platform saw in the last run (0 before any).
  std::uint32_t LastRecordSize() const { return last_record_size_; }

 private:
  static UINT_PTR CALLBACK HookProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  TFont font_ = InitialDialogFont();
  std::uint32_t last_record_size_ = 0;
  HWND placement_form_ = nullptr;
  bool color_chosen_ = false;
  bool charset_chosen_ = false;
};

}  // namespace pelmora
