#include "dialogs/win/font_dialog.h"

#include <algorithm>

#include "base/muldiv.h"
#include "base/win/display_scale.h"
#include "base/win/modal_scope.h"
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

namespace {

// The font as the platform's dialog takes it.
LOGFONTW LogFontOf(const TFont& font) {
  LOGFONTW log_font{};
  const std::wstring face = win::WideFromSjis(font.name);
  face.copy(log_font.lfFaceName, std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
  log_font.lfHeight = font.height;
  log_font.lfWeight = font.Weight();
  log_font.lfItalic = (font.style & fsItalic) ? 1 : 0;
  log_font.lfUnderline = (font.style & fsUnderline) ? 1 : 0;
  log_font.lfStrikeOut = (font.style & fsStrikeOut) ? 1 : 0;
  log_font.lfCharSet = font.charset;
  return log_font;
}

// What the confirmed dialog hands back.
FontDialogAnswer AnswerOf(LOGFONTW& log_font, COLORREF color) {
  FontDialogAnswer answer;
  log_font.lfFaceName[LF_FACESIZE - 1] = L'\0';
  answer.face = win::SjisFromWide(log_font.lfFaceName);
  answer.height = log_font.lfHeight;
  answer.weight = log_font.lfWeight;
  answer.italic = log_font.lfItalic != 0;
  answer.underline = log_font.lfUnderline != 0;
  answer.strike_out = log_font.lfStrikeOut != 0;
  answer.charset = log_font.lfCharSet;
  answer.color = color;
  return answer;
}

}  // namespace

bool TFontDialog::Execute() {
  LOGFONTW log_font = LogFontOf(font_);
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
    win::ModalScope modal;
    placement_form_ = win::PlacementForm(modal.PreviouslyActive());
    record.hwndOwner = win::DialogOwner();
    win::RunningDialog<TFontDialog> running(this);
    confirmed = ::ChooseFontW(&record);
  }
  if (!confirmed) return false;

  FontDialogAnswer answer = AnswerOf(log_font, record.rgbColors);
  answer.color_chosen = color_chosen_;
  answer.charset_chosen = charset_chosen_;
  ApplyFontDialogAnswer(font_, answer);
  return true;
}

UINT_PTR TFontDialog::HookMessage(HWND window, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: return OnInitDialog(window);
    case WM_COMMAND: return OnCommand(LOWORD(wparam), HIWORD(wparam));
    default: return 0;
  }
}

UINT_PTR TFontDialog::OnInitDialog(HWND window) {
  win::CentreOnMonitor(window, placement_form_, VerticalPlace::UpperThird);
  return TRUE;
}

UINT_PTR TFontDialog::OnCommand(int id, int code) {
  if (code == CBN_SELCHANGE) {
    if (id == kColorList) color_chosen_ = true;
    if (id == kScriptList) charset_chosen_ = true;
  }
  return 0;
}

}  // namespace pelmora
