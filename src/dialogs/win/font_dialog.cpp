#include "dialogs/win/font_dialog.h"

#include <algorithm>

#include "base/muldiv.h"
#include "base/win/display_scale.h"
#include "base/win/text.h"
#include "dialogs/win/dialog_host.h"

namespace pelmora {
namespace {

constexpr int kColorList = 1139;   // cmb4
constexpr int kScriptList = 1140;  // cmb5

}  // namespace

// The initial font is designed at 96 pixels per inch, so the dialog opens at its size in
// points whatever the scale.
TFontDialog::TFontDialog() : font_(InitialDialogFont()) {
  font_.height = ScaledMeasure(font_.height, win::SystemPixelsPerInch());
}

std::int32_t TFontDialog::FontSize() const { return font_.Size(win::SystemPixelsPerInch()); }

bool TFontDialog::Execute() {
  LOGFONTW log_font{};
  const std::wstring face = win::WideFromSjis(font_.name);
  face.copy(log_font.lfFaceName, std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
  log_font.lfHeight = font_.height;
  log_font.lfWeight = font_.Weight();
  log_font.lfItalic = (font_.style & fsItalic) ? 1 : 0;
  log_font.lfUnderline = (font_.style & fsUnderline) ? 1 : 0;
  log_font.lfStrikeOut = (font_.style & fsStrikeOut) ? 1 : 0;
  log_font.lfCharSet = font_.charset;

  CHOOSEFONTW record{};
  record.lStructSize = sizeof(CHOOSEFONTW);
  record.lpLogFont = &log_font;
  record.Flags = CF_SCREENFONTS | CF_ENABLEHOOK | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
  // Passed as stored: a system-colour code is not an RGB value, and the dialog shows no
  // colour chosen for it.
  record.rgbColors = font_.color;
  record.lpfnHook = &win::DialogHookProc<TFontDialog>;
  record.hInstance = ::GetModuleHandleW(nullptr);

  color_chosen_ = false;
  charset_chosen_ = false;
  BOOL confirmed = FALSE;
  {
    win::ModalDialogRun run;
    placement_form_ = run.PlacementForm();
    record.hwndOwner = win::DialogOwner();
    win::RunningDialog<TFontDialog> running(this);
    confirmed = ::ChooseFontW(&record);
  }
  if (!confirmed) return false;

  FontDialogAnswer answer;
  log_font.lfFaceName[LF_FACESIZE - 1] = L'\0';
  answer.face = win::SjisFromWide(log_font.lfFaceName);
  answer.height = log_font.lfHeight;
  answer.weight = log_font.lfWeight;
  answer.italic = log_font.lfItalic != 0;
  answer.underline = log_font.lfUnderline != 0;
  answer.strike_out = log_font.lfStrikeOut != 0;
  answer.charset = log_font.lfCharSet;
  answer.color = record.rgbColors;
  answer.color_chosen = color_chosen_;
  answer.charset_chosen = charset_chosen_;
  ApplyFontDialogAnswer(font_, answer);
  return true;
}

UINT_PTR TFontDialog::HookMessage(HWND window, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      win::CentreDialogOnMonitor(window, placement_form_);
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wparam) == CBN_SELCHANGE) {
        if (LOWORD(wparam) == kColorList) color_chosen_ = true;
        if (LOWORD(wparam) == kScriptList) charset_chosen_ = true;
      }
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace pelmora
